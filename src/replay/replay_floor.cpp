// The empty frame: the same window and swap as the scene, none of its work.
#include "replay/replay_floor.h"

#include "app/frame_driver.h"
#include "app/scene_state.h"
#include "app/startup_profile.h"
#include "platform/gl_debug_report.h"
#include "platform/report_line.h"
#include "platform/window_opener.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <chrono>
#include <cmath>
#include <cstdlib>

void startFloor(int width, int height, bool debugContext)
{
    const OpenedWindow opened =
        openWindow({.width = width, .height = height, .title = "Frostember", .debugContext = debugContext});
    if (opened.failure != WindowFailure::None) {
        reportLine("%s", windowFailureText(opened.failure));
        glfwTerminate();
        std::exit(1);
    }
    if (debugContext && !startGlDebugReport()) {
        reportLine("%s", GL_DEBUG_UNAVAILABLE);
        glfwTerminate();
        std::exit(1);
    }
    scene.window = opened.window;
    markStartupStage("window");
}

FrameStats floorFrame(FrameDriver& driver, long frame, double dt)
{
    using Clock = std::chrono::steady_clock;
    FrameStats stats;
    stats.frame = frame;
    stats.simTime = static_cast<double>(frame) * dt;
    for (double& gpu : stats.gpuMs)
        gpu = std::nan("");

    const Clock::time_point frameStart = Clock::now();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    driver.endFrame();
    stats.frameWallMs = std::chrono::duration<double, std::milli>(Clock::now() - frameStart).count();
    return stats;
}

void shutDownFloor()
{
    glfwDestroyWindow(scene.window);
    scene.window = nullptr;
    glfwTerminate();
}
