// Window, context and frame loop steps in their fixed order.
#include "app/program.h"

#include "app/scene.h"
#include "app/scene_state.h"
#include "app/startup_profile.h"
#include "camera/frustum.h"
#include "camera/overlay.h"
#include "platform/console.h"
#include "platform/window_opener.h"
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

struct StartUpFailure {
    const char* message;
    int status;
};

StartUpFailure startUpFailure(WindowFailure failure)
{
    if (failure == WindowFailure::Glfw)
        return {"GLFW failed", -1};
    if (failure == WindowFailure::Window)
        return {"No Window.....", -1};
    return {"ERROR: Could not init GLEW", 1};
}

// Every fatal step of the start-up ends here: its message, the pause that keeps
// it readable, its status. Once GLFW is up, terminating it closes any window.
[[noreturn]] void failStartUp(WindowFailure failure)
{
    const StartUpFailure fatal = startUpFailure(failure);
    if (failure != WindowFailure::Glfw)
        glfwTerminate();
    std::cout << fatal.message << std::endl;
    pauseConsole();
    std::exit(fatal.status);
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
    const OpenedWindow created = createWindow({.width = width, .height = height, .title = "j"});
    if (created.failure != WindowFailure::None)
        failStartUp(created.failure);
    scene.window = created.window;

    glfwSetInputMode(scene.window, GLFW_CURSOR, GLFW_CURSOR_DISABLED);
    glfwSetCursorPos(scene.window, 0.0, 0.0);
    glutInit(&argc, argv);
    if (!makeContextCurrentWithGlew(scene.window))
        failStartUp(WindowFailure::Glew);
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
