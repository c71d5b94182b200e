// Material texture loading against a real context: the joined path and its
// message, RGB conversion, tightly packed rows and the sampling state.
#include "model/texture_file.h"
#include "support/gl_context.h"
#include "support/process.h"

#include <gtest/gtest.h>
#include <stb/stb_image_write.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

class TextureFileTest : public GlTest {
protected:
    void writePng(const std::string& name, int width, int height, int channels, const std::vector<unsigned char>& pixels)
    {
        ASSERT_EQ(pixels.size(), static_cast<size_t>(width * height * channels));
        ASSERT_NE(stbi_write_png((dir.path + "/" + name).c_str(), width, height, channels, pixels.data(),
                                 width * channels),
                  0);
    }

    // Level 0 read back as tightly packed RGBA.
    static std::vector<unsigned char> readRgba(GLuint id, int width, int height)
    {
        std::vector<unsigned char> pixels(static_cast<size_t>(width * height * 4));
        glBindTexture(GL_TEXTURE_2D, id);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glBindTexture(GL_TEXTURE_2D, 0);
        return pixels;
    }

    static GLint levelParameter(GLuint id, GLint level, GLenum name)
    {
        GLint value = 0;
        glBindTexture(GL_TEXTURE_2D, id);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
        glBindTexture(GL_TEXTURE_2D, 0);
        return value;
    }

    TempDir dir;
};

} // namespace

TEST_F(TextureFileTest, MissingFilePrintsTheJoinedPathAndStillReturnsAName)
{
    testing::internal::CaptureStdout();
    const GLuint first = loadTextureFile("nothing.png", dir.path);
    const GLuint second = loadTextureFile("nothing.png", dir.path);
    const std::string out = testing::internal::GetCapturedStdout();

    EXPECT_NE(first, 0u);
    EXPECT_NE(second, 0u);
    EXPECT_NE(first, second) << "every call makes a new name";
    const std::string line = "Damn texture did not load!!! " + dir.path + "/nothing.png\n";
    EXPECT_EQ(out, line + line);
    EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextureFileTest, UndecodableFileGivesTheSameMessage)
{
    writeFile(dir.path + "/broken.png", "not an image at all");
    testing::internal::CaptureStdout();
    const GLuint id = loadTextureFile("broken.png", dir.path);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(id, 0u);
    EXPECT_EQ(out, "Damn texture did not load!!! " + dir.path + "/broken.png\n");
}

TEST_F(TextureFileTest, GreyAndRgbaFilesArriveAsRgb)
{
    writePng("grey.png", 2, 1, 1, {40, 200});
    writePng("rgba.png", 2, 1, 4, {10, 20, 30, 0, 200, 150, 100, 77});
    const GLuint grey = loadTextureFile("grey.png", dir.path);
    const GLuint rgba = loadTextureFile("rgba.png", dir.path);

    for (GLuint id : {grey, rgba}) {
        EXPECT_EQ(levelParameter(id, 0, GL_TEXTURE_ALPHA_SIZE), 0) << "no alpha channel is stored";
        EXPECT_GT(levelParameter(id, 0, GL_TEXTURE_RED_SIZE), 0);
        EXPECT_GT(levelParameter(id, 0, GL_TEXTURE_BLUE_SIZE), 0);
    }
    EXPECT_EQ(readRgba(grey, 2, 1), (std::vector<unsigned char>{40, 40, 40, 255, 200, 200, 200, 255}));
    EXPECT_EQ(readRgba(rgba, 2, 1), (std::vector<unsigned char>{10, 20, 30, 255, 200, 150, 100, 255}))
        << "alpha is dropped";
}

TEST_F(TextureFileTest, OddWidthRowsUploadWithoutSkew)
{
    const int width = 5;
    const int height = 3;
    std::vector<unsigned char> rgb;
    for (int i = 0; i < width * height; ++i)
        rgb.insert(rgb.end(), {static_cast<unsigned char>(i * 16), static_cast<unsigned char>(255 - i * 10),
                               static_cast<unsigned char>(i * 7 + 3)});
    writePng("odd.png", width, height, 3, rgb);

    const GLuint id = loadTextureFile("odd.png", dir.path);
    ASSERT_EQ(levelParameter(id, 0, GL_TEXTURE_WIDTH), width);
    ASSERT_EQ(levelParameter(id, 0, GL_TEXTURE_HEIGHT), height);
    const std::vector<unsigned char> texels = readRgba(id, width, height);
    // Top row of the file first: rows are not flipped.
    for (int i = 0; i < width * height; ++i) {
        SCOPED_TRACE("texel " + std::to_string(i));
        EXPECT_EQ(texels[i * 4 + 0], rgb[i * 3 + 0]);
        EXPECT_EQ(texels[i * 4 + 1], rgb[i * 3 + 1]);
        EXPECT_EQ(texels[i * 4 + 2], rgb[i * 3 + 2]);
    }
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4) << "the unpack alignment is restored for other uploads";
}

TEST_F(TextureFileTest, SetsMipMapsFiltersWrappingAndLeavesNoErrorOrBinding)
{
    writePng("tile.png", 8, 4, 3, std::vector<unsigned char>(8 * 4 * 3, 128));
    glActiveTexture(GL_TEXTURE5);
    const GLuint id = loadTextureFile("tile.png", dir.path);
    EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));

    GLint activeUnit = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &activeUnit);
    EXPECT_EQ(activeUnit, GL_TEXTURE5);
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0);
    glActiveTexture(GL_TEXTURE0);

    EXPECT_EQ(levelParameter(id, 3, GL_TEXTURE_WIDTH), 1) << "the whole mip chain down to 1x1 is generated";
    glBindTexture(GL_TEXTURE_2D, id);
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
    EXPECT_EQ(value, GL_REPEAT);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &value);
    EXPECT_EQ(value, GL_REPEAT);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR_MIPMAP_LINEAR);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, &value);
    EXPECT_EQ(value, 11);
    if (GLEW_EXT_texture_filter_anisotropic || GLEW_ARB_texture_filter_anisotropic) {
        GLfloat limit = 0.0f;
        glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &limit);
        GLfloat anisotropy = 0.0f;
        glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, &anisotropy);
        EXPECT_FLOAT_EQ(anisotropy, std::min(16.0f, limit));
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextureFileTest, FileNameWithItsOwnDirectoryIsAppendedUnchanged)
{
    std::filesystem::create_directory(dir.path + "/maps");
    writePng("maps/wood.png", 1, 1, 3, {1, 2, 3});
    testing::internal::CaptureStdout();
    const GLuint slashed = loadTextureFile("maps/wood.png", dir.path);
    const GLuint backslashed = loadTextureFile("maps\\wood.png", dir.path);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "") << "both spellings name the same file";
    EXPECT_EQ(readRgba(slashed, 1, 1), (std::vector<unsigned char>{1, 2, 3, 255}));
    EXPECT_EQ(readRgba(backslashed, 1, 1), (std::vector<unsigned char>{1, 2, 3, 255}));

    testing::internal::CaptureStdout();
    loadTextureFile("/abs.png", dir.path);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Damn texture did not load!!! " + dir.path + "//abs.png\n")
        << "an absolute name still gets the directory in front";
}
