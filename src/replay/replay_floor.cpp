// The empty frame: the same window and swap as the scene, none of its work.
#include "replay/replay_floor.h"

#include "app/program.h"
#include "app/scene_state.h"
#include "app/startup_profile.h"
#include "app/window_limits.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <iostream>

void startFloor(int width, int height)
{
    if (!glfwInit()) {
        std::cerr << "frostember-replay: GLFW failed" << std::endl;
        std::exit(1);
    }
    if (windowSizeFits(probeWindowLimits(), width, height))
        scene.window = glfwCreateWindow(width, height, "Frostember", nullptr, nullptr);
    if (scene.window == nullptr) {
        std::cerr << "frostember-replay: no window" << std::endl;
        glfwTerminate();
        std::exit(1);
    }
    glfwMakeContextCurrent(scene.window);
    if (glewInit() != GLEW_OK) {
        std::cerr << "frostember-replay: could not init GLEW" << std::endl;
        glfwTerminate();
        std::exit(1);
    }
    markStartupStage("window");
}

FrameStats floorFrame(long frame, double dt)
{
    using Clock = std::chrono::steady_clock;
    FrameStats stats;
    stats.frame = frame;
    stats.simTime = static_cast<double>(frame) * dt;
    for (double& gpu : stats.gpuMs)
        gpu = std::nan("");

    const Clock::time_point frameStart = Clock::now();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    endFrame();
    stats.frameWallMs = std::chrono::duration<double, std::milli>(Clock::now() - frameStart).count();
    return stats;
}

void shutDownFloor()
{
    glfwDestroyWindow(scene.window);
    scene.window = nullptr;
    glfwTerminate();
}
