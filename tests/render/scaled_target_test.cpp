// The smaller offscreen target against the real driver: it follows every change
// of size, and its scale-up fills the window with linear filtering, a
// multisampled window too.
#include "platform/window_opener.h"
#include "render/scaled_target.h"
#include "support/gl_context.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <array>

namespace {

constexpr int WINDOW_EDGE = 256; // the test window's

GLint integer(GLenum name)
{
    GLint value = -1;
    glGetIntegerv(name, &value);
    return value;
}

GLint renderbufferParameter(GLuint renderbuffer, GLenum name)
{
    GLint value = 0;
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, name, &value);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    return value;
}

GLint textureParameter(GLuint texture, GLenum name)
{
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, name, &value);
    glBindTexture(GL_TEXTURE_2D, 0);
    return value;
}

std::array<unsigned char, 4> windowPixel(int x, int y)
{
    std::array<unsigned char, 4> rgba{};
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

void clearRegion(int x, int width, int height, float red, float blue)
{
    glEnable(GL_SCISSOR_TEST);
    glScissor(x, 0, width, height);
    glClearColor(red, 0.0f, blue, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
}

// Red on the left half of the target, blue on the right: the window shows the
// halves where they belong and a blend where they meet. The target was larger
// and green before: nothing of that may bleed in at the edges.
void scaleUpRedAndBlueHalves(ScaledTarget& target)
{
    constexpr int EDGE = 64;
    ASSERT_TRUE(target.bind(2 * EDGE, 2 * EDGE));
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    ASSERT_TRUE(target.bind(EDGE, EDGE));
    clearRegion(0, EDGE / 2, EDGE, 1.0f, 0.0f);
    clearRegion(EDGE / 2, EDGE / 2, EDGE, 0.0f, 1.0f);
    target.scaleUp(WINDOW_EDGE, WINDOW_EDGE);

    EXPECT_EQ(integer(GL_DRAW_FRAMEBUFFER_BINDING), 0);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], WINDOW_EDGE);
    EXPECT_EQ(viewport[3], WINDOW_EDGE);

    const int middle = WINDOW_EDGE / 2;
    for (const int y : {0, middle, WINDOW_EDGE - 1}) {
        EXPECT_EQ(windowPixel(0, y)[0], 255);
        EXPECT_EQ(windowPixel(WINDOW_EDGE - 1, y)[2], 255);
        EXPECT_EQ(windowPixel(WINDOW_EDGE - 1, y)[1], 0);
        const std::array<unsigned char, 4> seam = windowPixel(middle, y);
        EXPECT_GT(seam[0], 20) << "nearest filtering would leave pure blue at the seam";
        EXPECT_GT(seam[2], 20);
    }
    EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));
}

} // namespace

using ScaledTargetTest = GlTest;

// Smaller, the same, larger, much smaller: a window resized while running.
TEST_F(ScaledTargetTest, FollowsEverySizeItIsBoundAt)
{
    const std::array<std::array<int, 2>, 5> sizes = {{{128, 72}, {128, 72}, {230, 130}, {32, 18}, {1, 1}}};
    ScaledTarget target;
    for (const auto& [width, height] : sizes) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        ASSERT_TRUE(target.bind(width, height));
        EXPECT_EQ(integer(GL_DRAW_FRAMEBUFFER_BINDING), static_cast<GLint>(target.fbo));
        EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
        EXPECT_EQ(textureParameter(target.colour, GL_TEXTURE_WIDTH), width);
        EXPECT_EQ(textureParameter(target.colour, GL_TEXTURE_HEIGHT), height);
        EXPECT_EQ(textureParameter(target.colour, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA8);
        EXPECT_EQ(renderbufferParameter(target.depth, GL_RENDERBUFFER_WIDTH), width);
        EXPECT_EQ(renderbufferParameter(target.depth, GL_RENDERBUFFER_HEIGHT), height);
        EXPECT_EQ(renderbufferParameter(target.depth, GL_RENDERBUFFER_DEPTH_SIZE), 24);
        GLint viewport[4] = {};
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[2], width);
        EXPECT_EQ(viewport[3], height);
        EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

TEST_F(ScaledTargetTest, ScaleUpFillsTheWindowWithLinearFiltering)
{
    ScaledTarget target;
    scaleUpRedAndBlueHalves(target);
}

// Anti-aliasing forced in a driver's settings gives the window several samples
// a pixel, into which a single-sampled image cannot be blitted.
TEST_F(ScaledTargetTest, ScaleUpFillsAMultisampledWindow)
{
    const OpenedWindow opened = openWindow({.width = WINDOW_EDGE,
                                            .height = WINDOW_EDGE,
                                            .title = "frostember-multisampled",
                                            .visible = false,
                                            .samples = 4,
                                            .checkSize = false});
    ASSERT_EQ(opened.failure, WindowFailure::None) << windowFailureText(opened.failure);
    GLFWwindow* window = opened.window;
    if (integer(GL_SAMPLES) > 0) {
        ScaledTarget target;
        scaleUpRedAndBlueHalves(target);
    }
    const GLint samples = integer(GL_SAMPLES);
    glfwMakeContextCurrent(testWindow());
    glfwDestroyWindow(window);
    if (samples == 0)
        GTEST_SKIP() << "the renderer gives no multisampled window";
}

TEST(ScaledEdge, RoundsAndNeverVanishes)
{
    struct Case {
        int windowEdge;
        float scale;
        int edge;
    };
    const Case cases[] = {{1280, 0.6f, 768}, {1920, 1.0f, 1920}, {1081, 0.5f, 541}, {1, 0.5f, 1}, {3, 0.1f, 1}};
    for (const Case& c : cases)
        EXPECT_EQ(scaledEdge(c.windowEdge, c.scale), c.edge) << c.windowEdge << " at " << c.scale;
}
