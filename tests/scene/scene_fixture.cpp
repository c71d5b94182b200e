// The in-process scene: window and context as the program's start-up makes them,
// the sound on OpenAL's wave writer, then setupScene in the run directory.
#include "scene_fixture.h"

#include "app/frame_driver.h"
#include "app/scene.h"
#include "app/scene_state.h"
#include "camera/camera.h"
#include "camera/frustum.h"
#include "platform/program_window_surface.h"
#include "platform/window_opener.h"
#include "render/frame_passes.h"
#include "support/process.h"
#include "support/run_dir.h"

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <GLFW/glfw3.h>
#include <glm/gtc/matrix_transform.hpp>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace {

std::string capturedSetupOutput;

// The window manager-less X server honours a size change at once, but the
// client learns of it through an event.
void resizeWindow(GLFWwindow* window)
{
    glfwSetWindowSize(window, CLIENT_WIDTH, CLIENT_HEIGHT);
    for (int attempt = 0; attempt < 100; ++attempt) {
        glfwPollEvents();
        int width = 0;
        int height = 0;
        glfwGetWindowSize(window, &width, &height);
        if (width == CLIENT_WIDTH && height == CLIENT_HEIGHT)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

// No sound card here: the wave writer plays into a scratch file instead.
void routeSoundToAFile()
{
    static TempDir soundDir;
    writeFile(soundDir.path + "/alsoft.conf", "[wave]\nfile = " + soundDir.path + "/sound.wav\n");
    setenv("ALSOFT_DRIVERS", "wave", 1);
    setenv("ALSOFT_CONF", (soundDir.path + "/alsoft.conf").c_str(), 1);
}

bool openContext()
{
    const OpenedWindow created = createWindow({.width = TYPED_WIDTH, .height = TYPED_HEIGHT, .title = "j"});
    if (created.failure != WindowFailure::None)
        return false;
    scene.window = created.window;
    resizeWindow(scene.window);

    int argc = 1;
    char name[] = "scene_test";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    return makeContextCurrentWithGlew(scene.window);
}

void buildScene()
{
    routeSoundToAFile();
    std::filesystem::current_path(runDir());
    testing::internal::CaptureStdout();
    setupScene();
    capturedSetupOutput = testing::internal::GetCapturedStdout();
}

} // namespace

const std::string& setupOutput()
{
    return capturedSetupOutput;
}

void SceneTest::SetUp()
{
    static const bool built = [this] {
        if (!openContext())
            return false;
        beforeSetup();
        buildScene();
        return true;
    }();
    ASSERT_TRUE(built) << "no window or context: is DISPLAY set (xvfb-run)?";
    glfwMakeContextCurrent(scene.window);
    while (glGetError() != GL_NO_ERROR) {
    }
}

void runFrame(float dt)
{
    static ProgramWindowSurface window(scene.window);
    static FrameDriver driver(window, FrameClock::fixedStep(dt));
    driver.clock.step = dt;
    driver.drawFrame();
}

void renderView(const glm::vec3& eye, const glm::vec3& target)
{
    Camera& camera = *scene.camera;
    camera.position = eye;
    camera.center = target;
    camera.front = glm::normalize(target - eye);
    camera.up = glm::vec3(0.0f, 1.0f, 0.0f);
    camera.view = glm::lookAt(eye, target, camera.up);
    camera.projection = glm::perspective(camera.fieldOfView, static_cast<float>(scene.windowWidth) / scene.windowHeight,
                                         camera.nearPlane, camera.farPlane);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    scene.frustum->update();
    renderFrame();
    glFinish();
}

bool projectToPixel(const glm::vec3& world, glm::ivec2& pixel)
{
    const glm::vec4 clip = scene.camera->projection * scene.camera->view * glm::vec4(world, 1.0f);
    if (clip.w <= 0.0f)
        return false;
    const glm::vec2 ndc = glm::vec2(clip) / clip.w;
    pixel = glm::ivec2((ndc * 0.5f + 0.5f) * glm::vec2(scene.windowWidth, scene.windowHeight));
    return pixel.x >= 0 && pixel.y >= 0 && pixel.x < scene.windowWidth && pixel.y < scene.windowHeight;
}

glm::vec3 readColour(const glm::ivec2& pixel)
{
    unsigned char rgb[3] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(pixel.x, pixel.y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    return glm::vec3(rgb[0], rgb[1], rgb[2]) / 255.0f;
}

float readDepth(const glm::ivec2& pixel)
{
    float depth = 0.0f;
    glReadBuffer(GL_BACK);
    glReadPixels(pixel.x, pixel.y, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    return depth;
}
