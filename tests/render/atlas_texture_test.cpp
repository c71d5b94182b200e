// Atlas textures against a real context: the grid, the bottom-row-first upload
// without alpha, the mip chain, and the fatal path for an undecodable image.
#include "render/atlas_texture.h"
#include "support/gl_context.h"
#include "support/process.h"
#include "support/run_dir.h"
#include "support/test_image.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

class AtlasTextureTest : public GlTest {
protected:
    TempDir dir;
};

// The death tests rerun their test in a child process that never returns, so they
// use files that need no temporary directory.
using AtlasTextureDeathTest = GlTest;

// Top half red and transparent, bottom half blue and opaque.
Rgba halves(int, int y)
{
    return y < 16 ? Rgba{255, 0, 0, 0} : Rgba{0, 0, 255, 255};
}

// The program ends inside the constructor; its message goes to standard output,
// which is sent to standard error so that the death test can match it, and the
// closed standard input lets the console pause return at once.
void loadWithStdoutOnStderr(const std::string& path)
{
    dup2(STDERR_FILENO, STDOUT_FILENO);
    if (std::freopen("/dev/null", "r", stdin) == nullptr)
        return;
    AtlasTexture atlas(path, 4, 4);
}

} // namespace

TEST_F(AtlasTextureTest, KeepsItsGridAndBuildsTheMipChain)
{
    const std::string path = writeTestImage(dir.path + "/atlas.png", 64, 32, halves);
    AtlasTexture atlas(path, 4, 2);
    EXPECT_EQ(atlas.rows, 4);
    EXPECT_EQ(atlas.cols, 2);
    ASSERT_NE(atlas.id, 0u);

    glBindTexture(GL_TEXTURE_2D, atlas.id);
    GLint width = 0, height = 0, level1Width = 0, level1Height = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &level1Width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_HEIGHT, &level1Height);
    EXPECT_EQ(width, 64);
    EXPECT_EQ(height, 32);
    EXPECT_EQ(level1Width, 32);
    EXPECT_EQ(level1Height, 16);

    GLint minFilter = 0, magFilter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
    EXPECT_EQ(minFilter, GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(magFilter, GL_LINEAR);
    EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));
    glBindTexture(GL_TEXTURE_2D, 0);
}

TEST_F(AtlasTextureTest, UploadsBottomRowFirstWithoutAlpha)
{
    const std::string path = writeTestImage(dir.path + "/atlas.png", 64, 32, halves);
    AtlasTexture atlas(path);
    EXPECT_EQ(atlas.rows, 1);
    EXPECT_EQ(atlas.cols, 1);

    std::vector<unsigned char> texels(64 * 32 * 4);
    glBindTexture(GL_TEXTURE_2D, atlas.id);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glBindTexture(GL_TEXTURE_2D, 0);

    const unsigned char* firstRow = texels.data();
    const unsigned char* lastRow = texels.data() + 31 * 64 * 4;
    EXPECT_EQ(firstRow[0], 0);
    EXPECT_EQ(firstRow[2], 255) << "texture row 0 is the image's bottom row";
    EXPECT_EQ(lastRow[0], 255);
    EXPECT_EQ(lastRow[2], 0);
    EXPECT_EQ(lastRow[3], 255) << "the image's transparent alpha is not uploaded";
}

TEST_F(AtlasTextureTest, BackslashPathsAreMapped)
{
    writeTestImage(dir.path + "/atlas.png", 8, 8, halves);
    AtlasTexture atlas(dir.path + "\\atlas.png");
    glBindTexture(GL_TEXTURE_2D, atlas.id);
    GLint width = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_EQ(width, 8);
}

TEST_F(AtlasTextureDeathTest, AnUndecodableImageEndsTheProcess)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(loadWithStdoutOnStderr(runDir() + "/Shader/particles_update.vert"), ::testing::ExitedWithCode(255),
                "Error loading Image");
    EXPECT_EXIT(loadWithStdoutOnStderr(runDir() + "/Assets/no such image.png"), ::testing::ExitedWithCode(255),
                "Error loading Image");
}
