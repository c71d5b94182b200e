// Window, context and frame loop steps in their fixed order.
#include "app/program.h"

#include "app/scene.h"
#include "app/scene_state.h"
#include "app/startup_profile.h"
#include "app/window_limits.h"
#include "camera/frustum.h"
#include "camera/overlay.h"
#include "platform/console.h"
#include "platform/x_error_report.h"
#include "render/frame_passes.h"
#include "render/scale_governor.h"

#include <GL/glew.h>
#include <GL/freeglut.h>
#include <GL/glu.h>
#include <GLFW/glfw3.h>

#include <cstdlib>
#include <iostream>

namespace {

// The loop has one clock and so one governor; a forced scale holds for the run.
ScaleGovernor governor;
bool scaleForced = false;

[[noreturn]] void failStartUp(const char* message, int status, bool terminate)
{
    if (terminate)
        glfwTerminate();
    std::cout << message << std::endl;
    pauseConsole();
    std::exit(status);
}

void reportGlError()
{
    const GLenum error = glGetError();
    if (error == GL_NO_ERROR)
        return;
    std::cout << "ERROR: OPENGL Error" << std::endl;
    std::cout << reinterpret_cast<const char*>(gluErrorString(error)) << std::endl;
}

} // namespace

void startUp(int argc, char** argv, int width, int height)
{
    if (!glfwInit())
        failStartUp("GLFW failed", -1, false);

    // No hints: GLFW's defaults give a compatibility-profile context, which the
    // overlay's bitmap text needs beside the shader pipeline.
    if (windowSizeFits(probeWindowLimits(), width, height))
        scene.window = glfwCreateWindow(width, height, "j", nullptr, nullptr);
    if (scene.window == nullptr)
        failStartUp("No Window.....", -1, true);

    glfwSetInputMode(scene.window, GLFW_CURSOR, GLFW_CURSOR_DISABLED);
    glfwSetCursorPos(scene.window, 0.0, 0.0);
    glutInit(&argc, argv);
    glfwMakeContextCurrent(scene.window);

    if (glewInit() != GLEW_OK) {
        std::cout << "ERROR: Could not init GLEW" << std::endl;
        glfwTerminate();
        pauseConsole();
        std::exit(1);
    }
    markStartupStage("window");
    setupScene();
    reportXErrorsAsFatal();
}

double runClockedFrame(double& lastTime)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const double now = glfwGetTime();
    const double frameDelta = now - lastTime;
    lastTime = now;
    if (!scaleForced)
        scene.renderScale = governor.addFrame(frameDelta);
    advanceFrame(frameDelta);
    endFrame();
    return frameDelta;
}

void forceRenderScale(float scale)
{
    scene.renderScale = scale;
    scaleForced = true;
}

void advanceFrame(double frameDelta)
{
    updateScene(static_cast<float>(frameDelta));
    submitFrame(frameDelta);
}

void submitFrame(double frameDelta)
{
    scene.frustum->update();
    renderFrame();
    drawOverlay(frameDelta);
}

void endFrame()
{
    glfwSwapBuffers(scene.window);

    // With sticky keys a key released since the last poll reads pressed once,
    // then released: Escape closes the window on release, never while held.
    const bool pressed = glfwGetKey(scene.window, GLFW_KEY_ESCAPE) == GLFW_PRESS;
    if (pressed && glfwGetKey(scene.window, GLFW_KEY_ESCAPE) == GLFW_RELEASE)
        glfwSetWindowShouldClose(scene.window, GLFW_TRUE);

    reportGlError();
    glfwPollEvents();
}

void shutDown()
{
    shutdownScene();
    glfwTerminate();
}
