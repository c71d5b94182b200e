// Faces go up in FreeImage's row order, bottom row first, as BGRA; the internal
// format drops the alpha channel.
#include "render/cubemap_texture.h"

#include "render/gl_label.h"
#include "render/image_file.h"

#include <FreeImage.h>

CubemapTexture::CubemapTexture(const std::string& directory, const std::string& posX, const std::string& negX,
                               const std::string& posY, const std::string& negY, const std::string& posZ,
                               const std::string& negZ)
{
    // An empty directory means the working directory, not the file-system root.
    const std::string prefix = directory.empty() || directory.back() == '/' ? directory : directory + "/";
    const std::string* names[6] = {&posX, &negX, &posY, &negY, &posZ, &negZ};
    for (int i = 0; i < 6; ++i)
        fileNames[i] = prefix + *names[i];
}

CubemapTexture::~CubemapTexture()
{
    if (id != 0)
        glDeleteTextures(1, &id);
}

bool CubemapTexture::load()
{
    FreeImage_Initialise(TRUE);
    glGenTextures(1, &id);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_CUBE_MAP, id);
    labelObject(GL_TEXTURE, id, "sky cube map");

    for (int i = 0; i < 6; ++i) {
        const ImageFile image(fileNames[i]);
        glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X + i, 0, GL_RGB, static_cast<GLsizei>(image.width),
                     static_cast<GLsizei>(image.height), 0, GL_BGRA, GL_UNSIGNED_BYTE, image.pixels);
    }

    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
    return true;
}
