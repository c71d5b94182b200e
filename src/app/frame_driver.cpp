// The frame's steps in their order, timed for the governor and the tools.
#include "app/frame_driver.h"

#include "app/scene.h"
#include "app/scene_state.h"
#include "camera/frustum.h"
#include "camera/overlay.h"
#include "render/frame_passes.h"

#include <GL/glew.h>
#include <GL/glu.h>
#include <GLFW/glfw3.h>

#include <chrono>
#include <iostream>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// With sticky keys a key released since the last poll reads pressed once, then
// released: Escape closes the window on release, never while held. A window
// that another program made is only drawn into; its keys are that program's.
void closeOnEscapeRelease()
{
    if (scene.window == nullptr)
        return;
    const bool pressed = glfwGetKey(scene.window, GLFW_KEY_ESCAPE) == GLFW_PRESS;
    if (pressed && glfwGetKey(scene.window, GLFW_KEY_ESCAPE) == GLFW_RELEASE)
        glfwSetWindowShouldClose(scene.window, GLFW_TRUE);
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

FrameDriver::FrameDriver(Surface& surface_, FrameClock clock_)
    : surface(surface_), clock(clock_), governed(!clock_.fixed())
{
    surface.setSwapInterval(clock.fixed() ? 0 : 1);
}

// The last frame's time sets this one's scale, so that the scale a frame was
// drawn at is the scene's until the next frame begins.
void FrameDriver::runFrame()
{
    if (governed && frames > 0)
        scene.renderScale = governor.addFrame(times.made);
    const Clock::time_point start = Clock::now();
    drawFrame();
    const Clock::time_point asideStart = Clock::now();
    beforeSwap();
    const double aside = secondsSince(asideStart);
    endFrame();
    times.made = secondsSince(start) - aside;
    clock.finishFrame();
    ++frames;
}

void FrameDriver::drawFrame()
{
    surface.size(scene.windowWidth, scene.windowHeight);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    times.delta = clock.startFrame();
    beforeUpdate(times.delta);

    const Clock::time_point updateStart = Clock::now();
    updateScene(static_cast<float>(times.delta));
    times.update = secondsSince(updateStart);

    const Clock::time_point submitStart = Clock::now();
    scene.frustum->update();
    renderFrame();
    overlay(times.delta);
    times.submit = secondsSince(submitStart);
}

void FrameDriver::endFrame()
{
    surface.present();
    closeOnEscapeRelease();
    reportGlError();
    surface.processEvents(0.0);
}

void FrameDriver::overlay(double delta)
{
    drawOverlay(delta);
}
