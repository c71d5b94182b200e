// Loads the scene's sky faces from "Assets/skybox" in the working directory and,
// however the process ends, prints on standard output how many faces of the
// cube map hold an image by then. Run by the sky tests as a child process.
#include "render/cubemap_texture.h"
#include "support/gl_context.h"

#include <cstdio>
#include <cstdlib>

namespace {

const CubemapTexture* loading = nullptr;

void reportUploadedFaces()
{
    if (loading == nullptr || loading->id == 0)
        return;
    glBindTexture(GL_TEXTURE_CUBE_MAP, loading->id);
    int uploaded = 0;
    for (int face = 0; face < 6; ++face) {
        GLint width = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, 0, GL_TEXTURE_WIDTH, &width);
        if (width > 0)
            ++uploaded;
    }
    std::printf("faces uploaded: %d\n", uploaded);
    std::fflush(stdout);
}

} // namespace

int main()
{
    if (testWindow() == nullptr)
        return 2;
    // Registered after the window, so it runs while the context still exists.
    std::atexit(reportUploadedFaces);
    CubemapTexture texture("Assets/skybox", "iceflats_rt.jpg", "iceflats_lf.jpg", "iceflats_dn.jpg",
                           "iceflats_up.jpg", "iceflats_bk.jpg", "iceflats_ft.jpg");
    loading = &texture;
    texture.load();
    reportUploadedFaces();
    loading = nullptr;
    return 0;
}
