// The capture image against the driver: the back buffer, written top row first.
#include "replay/replay_capture.h"

#include "support/gl_context.h"
#include "support/process.h"

#include <stb_image.h>

#include <GLFW/glfw3.h>

namespace {

// Red over the top quarter of the back buffer, green elsewhere.
void paintBackBuffer(int width, int height)
{
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glDrawBuffer(GL_BACK);
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, height * 3 / 4, width, height - height * 3 / 4);
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
}

} // namespace

class CaptureImage : public GlTest {};

TEST_F(CaptureImage, IsTheBackBufferWithItsTopRowFirst)
{
    int width = 0;
    int height = 0;
    glfwGetFramebufferSize(testWindow(), &width, &height);
    paintBackBuffer(width, height);

    TempDir dir;
    const std::string path = dir.path + "/t0001.0.png";
    ASSERT_TRUE(writeBackBufferImage(path, width, height));
    EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));

    int fileWidth = 0;
    int fileHeight = 0;
    int channels = 0;
    unsigned char* image = stbi_load(path.c_str(), &fileWidth, &fileHeight, &channels, 0);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(fileWidth, width);
    EXPECT_EQ(fileHeight, height);
    EXPECT_EQ(channels, 3);
    const unsigned char* top = image;
    const unsigned char* bottom = image + (static_cast<size_t>(height) - 1) * width * 3;
    EXPECT_EQ((std::vector<int>{top[0], top[1], top[2]}), (std::vector<int>{255, 0, 0}));
    EXPECT_EQ((std::vector<int>{bottom[0], bottom[1], bottom[2]}), (std::vector<int>{0, 255, 0}));
    stbi_image_free(image);
}

TEST_F(CaptureImage, AnUnwritablePathIsReported)
{
    TempDir dir;
    EXPECT_FALSE(writeBackBufferImage(dir.path + "/no/such/dir/t0000.0.png", 16, 16));
}
