// The render switches and the overlay: the timing cases drive drawOverlay
// directly; the key cases go through the real window system, with xdotool
// sending the keys to a visible window under Xvfb, as a user's keys arrive.
#include "camera/frustum.h"
#include "camera/overlay.h"
#include "app/scene_state.h"
#include "particles/particle_system.h"
#include "platform/window_opener.h"

#include "support/x11_keyboard.h"

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <GLFW/glfw3.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int WIDTH = 320;
constexpr int HEIGHT = 240;
constexpr const char* TITLE = "frostember-overlay-test";

GLFWwindow* createOverlayWindow()
{
    GLFWwindow* const window = openWindow({.width = WIDTH, .height = HEIGHT, .title = TITLE, .checkSize = false}).window;
    if (window == nullptr)
        return nullptr;
    glfwSetInputMode(window, GLFW_STICKY_KEYS, GLFW_TRUE);
    int argc = 1;
    char name[] = "camera_test";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    return window;
}

GLFWwindow* overlayWindow()
{
    static GLFWwindow* window = createOverlayWindow();
    return window;
}

bool xdotool(const std::string& args)
{
    return std::system(("xdotool " + args + " >/dev/null 2>&1").c_str()) == 0;
}

class OverlayTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = overlayWindow();
        ASSERT_NE(window, nullptr) << "no window: is DISPLAY set (xvfb-run)?";
        glfwMakeContextCurrent(window);
        glViewport(0, 0, WIDTH, HEIGHT);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);

        scene.window = window;
        scene.settings = RenderSettings{};
        scene.objectsRendered = 0;
        frustum = std::make_unique<Frustum>(nullptr);
        scene.frustum = frustum.get();
        for (auto& emitter : emitters)
            emitter = std::make_unique<ParticleSystem>(nullptr);
        scene.snowParticles = {emitters[0].get(), emitters[1].get(), emitters[2].get()};
        scene.fireParticles = emitters[3].get();
        scene.smokeParticles = emitters[4].get();
    }

    void TearDown() override
    {
        scene.frustum = nullptr;
        scene.snowParticles.clear();
        scene.fireParticles = nullptr;
        scene.smokeParticles = nullptr;
        scene.window = nullptr;
    }

    // One overlay frame on a cleared image, after the events that arrived.
    void frame(double dt)
    {
        glfwPollEvents();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawOverlay(dt);
    }

    // Runs frames until `done` holds (the keys from xdotool arrive asynchronously).
    bool framesUntil(const std::function<bool()>& done, double dt)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (std::chrono::steady_clock::now() < deadline) {
            frame(dt);
            if (done())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    // Whether the overlay's grey (0.5) appears in the rectangle [x0, x1) x [y0, y1)
    // of the image, in pixels from the lower-left corner.
    static bool greyIn(int x0, int y0, int x1, int y1)
    {
        std::vector<unsigned char> pixels(static_cast<size_t>((x1 - x0) * (y1 - y0) * 3));
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(x0, y0, x1 - x0, y1 - y0, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        for (size_t i = 0; i < pixels.size(); i += 3)
            if (pixels[i] == pixels[i + 1] && pixels[i] == pixels[i + 2] && pixels[i] >= 120 && pixels[i] <= 135)
                return true;
        return false;
    }

    static bool imageIsBlack()
    {
        std::vector<unsigned char> pixels(WIDTH * HEIGHT * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, WIDTH, HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        for (unsigned char value : pixels)
            if (value != 0)
                return false;
        return true;
    }

    static GLint polygonMode()
    {
        GLint modes[2] = {};
        glGetIntegerv(GL_POLYGON_MODE, modes);
        return modes[0];
    }

    std::unique_ptr<Frustum> frustum;
    std::unique_ptr<ParticleSystem> emitters[5];
    GLFWwindow* window = nullptr;
};

// Cases whose keys come from xdotool; the window is given the focus first.
class OverlayKeys : public OverlayTest {
protected:
    void SetUp() override
    {
        OverlayTest::SetUp();
        ASSERT_EQ(std::system("command -v xdotool >/dev/null 2>&1"), 0) << "xdotool is needed for this test";
        disableKeyRepeat();
        ASSERT_TRUE(xdotool(std::string("search --sync --onlyvisible --name '^") + TITLE + "$' windowfocus --sync"));
    }

    void TearDown() override
    {
        xdotool("keyup F3");
        OverlayTest::TearDown();
    }
};

} // namespace

TEST_F(OverlayTest, StatisticsWindowClosesOnTheFrameThatPassesOneSecond)
{
    const RenderSettings& s = scene.settings;
    for (int i = 1; i <= 4; ++i) {
        frame(0.25);
        EXPECT_EQ(s.fps, 0.0f) << "frame " << i << ": 1.0 s is not above one second";
        EXPECT_EQ(s.statsFrames, i);
    }
    frame(0.25);
    EXPECT_EQ(s.fps, 5.0f);
    EXPECT_EQ(s.frameTimeMs, 250.0f);
    EXPECT_EQ(s.statsFrames, 0);
    EXPECT_EQ(s.statsSeconds, 0.0);

    frame(0.5);
    frame(0.5);
    EXPECT_EQ(s.fps, 5.0f);
    frame(0.5);
    EXPECT_EQ(s.fps, 3.0f);
    EXPECT_EQ(s.frameTimeMs, 500.0f);
}

TEST_F(OverlayTest, StatisticsLineUsesDefaultFloatFormatting)
{
    RenderSettings s;
    s.frameTimeMs = 1000.0f / 60.0f;
    s.fps = 60.0f;
    EXPECT_EQ(statisticsLine(s, 12), "Frame Time: 16.6667 ms, FPS: 60 , no of objects rendered: 12");
    s.frameTimeMs = 1.5e7f;
    s.fps = 0.0f;
    EXPECT_EQ(statisticsLine(s, 0), "Frame Time: 1.5e+07 ms, FPS: 0 , no of objects rendered: 0");
}

TEST_F(OverlayTest, LabelShowsWhileItsTimeIsBelowOneSecond)
{
    RenderSettings& s = scene.settings;
    s.mipShown = 0.0;
    const double expected[] = {0.3, 0.6, 0.9, 1.2, 1.2, 1.2};
    for (double time : expected) {
        const bool shownBefore = s.mipShown < 1.0;
        frame(0.3);
        EXPECT_NEAR(s.mipShown, time, 1e-9);
        EXPECT_EQ(greyIn(10, 75, 250, 100), shownBefore) << "label time " << time;
    }
}

TEST_F(OverlayTest, FrustumSwitchIsWrittenOnlyWhileItsLabelShows)
{
    RenderSettings& s = scene.settings;
    s.culling = false;
    s.cullingShown = 0.5;
    frame(0.25);
    EXPECT_FALSE(frustum->cullingEnabled);
    frame(0.25);
    frame(0.25); // label time reaches 1.0
    frustum->cullingEnabled = true;
    frame(0.25);
    EXPECT_TRUE(frustum->cullingEnabled);
}

TEST_F(OverlayTest, TextIsGreyAtItsWindowPositionAndRestoresTheState)
{
    GLint program = -1;
    glClear(GL_COLOR_BUFFER_BIT);
    drawText(50, 100, "Frostember");
    EXPECT_TRUE(greyIn(50, 95, 160, 120));
    EXPECT_FALSE(greyIn(0, 0, WIDTH, 90));
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(program, 0);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(OverlayKeys, NoTextBeforeAnyKey)
{
    for (int i = 0; i < 8; ++i) {
        frame(0.25);
        EXPECT_TRUE(imageIsBlack()) << "frame " << i;
    }
}

TEST_F(OverlayKeys, HeldF3ChangesNothingUntilReleasedThenFlipsOnce)
{
    RenderSettings& s = scene.settings;
    ASSERT_TRUE(xdotool("keydown F3"));
    ASSERT_TRUE(framesUntil([&] { return glfwGetKey(window, GLFW_KEY_F3) == GLFW_PRESS; }, 0.1));
    for (int i = 0; i < 30; ++i) {
        frame(0.1);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_FALSE(s.wireframe);
    EXPECT_EQ(s.wireframeShown, 3.0);
    EXPECT_EQ(polygonMode(), GL_FILL);
    EXPECT_TRUE(imageIsBlack());

    ASSERT_TRUE(xdotool("keyup F3"));
    ASSERT_TRUE(framesUntil([&] { return s.wireframe; }, 0.25));
    EXPECT_EQ(polygonMode(), GL_LINE);
    // "Wireframe: ON" at (20, 40) for the frames that begin within one second of the change.
    EXPECT_TRUE(greyIn(20, 35, 200, 60));
    for (int i = 1; i <= 3; ++i) {
        frame(0.25);
        EXPECT_TRUE(greyIn(20, 35, 200, 60)) << "frame " << i << " after the change";
    }
    for (int i = 0; i < 10; ++i) {
        frame(0.25);
        EXPECT_TRUE(imageIsBlack());
    }
    EXPECT_TRUE(s.wireframe);
    EXPECT_EQ(polygonMode(), GL_LINE);
}

TEST_F(OverlayKeys, F4TwiceInQuickSuccessionRestoresTheSamplingMode)
{
    RenderSettings& s = scene.settings;
    ASSERT_TRUE(xdotool("key F4"));
    ASSERT_TRUE(framesUntil([&] { return s.samplingMode == 0; }, 0.25));
    frame(0.25);
    ASSERT_TRUE(xdotool("key F4"));
    ASSERT_TRUE(framesUntil([&] { return s.samplingMode == 1; }, 0.25));
    // The label's second starts again with the second press.
    EXPECT_EQ(s.samplingShown, 0.25);
    EXPECT_TRUE(greyIn(10, 55, 300, 80));
}

TEST_F(OverlayKeys, F2ShowsTheStatisticsLineUntilPressedAgain)
{
    RenderSettings& s = scene.settings;
    frame(0.25);
    EXPECT_FALSE(greyIn(0, 10, WIDTH, 40));
    ASSERT_TRUE(xdotool("key F2"));
    ASSERT_TRUE(framesUntil([&] { return s.showStats; }, 0.25));
    EXPECT_TRUE(greyIn(10, 15, 300, 40));
    frame(0.25);
    EXPECT_TRUE(greyIn(10, 15, 300, 40));
    ASSERT_TRUE(xdotool("key F2"));
    ASSERT_TRUE(framesUntil([&] { return !s.showStats; }, 0.25));
    EXPECT_TRUE(imageIsBlack());
}

TEST_F(OverlayKeys, EachSwitchActsOnItsOwnTarget)
{
    RenderSettings& s = scene.settings;
    ASSERT_TRUE(xdotool("key F9"));
    ASSERT_TRUE(framesUntil([&] { return !s.transparency; }, 0.25));
    for (ParticleSystem* snow : scene.snowParticles)
        EXPECT_FALSE(snow->blendEnabled);
    EXPECT_TRUE(scene.fireParticles->blendEnabled);
    EXPECT_TRUE(scene.smokeParticles->blendEnabled);
    EXPECT_TRUE(frustum->cullingEnabled);

    ASSERT_TRUE(xdotool("key F8"));
    ASSERT_TRUE(framesUntil([&] { return !s.culling; }, 0.25));
    EXPECT_FALSE(frustum->cullingEnabled);

    ASSERT_TRUE(xdotool("key F5"));
    ASSERT_TRUE(framesUntil([&] { return s.mipMode != 2; }, 0.25));
    EXPECT_EQ(s.mipMode, 0);

    ASSERT_TRUE(xdotool("key p"));
    ASSERT_TRUE(framesUntil([&] { return s.paused; }, 0.25));
    EXPECT_FALSE(s.wireframe);
    EXPECT_EQ(s.samplingMode, 1);
    EXPECT_FALSE(s.showStats);
}
