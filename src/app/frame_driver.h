// One frame of the scene, in the frame loop's fixed order, for every program
// that draws the scene and for the scene's tests:
//
//   1 clear colour and depth       6 overlay and render switches
//   2 the delta from the clock     7 swap
//   3 updateScene                  8 Escape, on release
//   4 the frustum from the camera  9 one OpenGL error report
//   5 renderFrame                 10 the window's events
//
// Before the clear the window's drawable size is read into `windowWidth` and
// `windowHeight`, so that the passes, the scaled target, the overlay and the
// captures follow a window that is resized or maximised. The clock is the one
// thing the programs differ in (see frame_clock.h); the render scale's governor
// is fed the time each frame took to make, on every wall clock alike, unless a
// scale is forced. A program adds its own work through the three hooks.
//
//     ProgramWindowSurface window(scene.window);
//     FrameDriver driver(window, FrameClock::wall(glfwGetTime, 0.0));
//     while (!window.closed())
//         driver.runFrame();
#pragma once

#include "app/frame_clock.h"
#include "platform/surface.h"
#include "render/scale_governor.h"

// What the last frame took, in seconds.
struct FrameTimes {
    double delta = 0.0;  // the time the scene was advanced by
    double update = 0.0; // step 3
    double submit = 0.0; // steps 4 to 6
    double made = 0.0;   // steps 1 to 10, without the before-swap hook and the frame cap's wait
};

class FrameDriver {
public:
    // The scene must be set up with the surface's context current. Sets the
    // swap interval: 1 on the wall clock, paced by the display; 0 on a fixed
    // step, which runs as fast as its frames are made.
    FrameDriver(Surface& surface, FrameClock clock);
    virtual ~FrameDriver() = default;

    // The governor's scale from the last frame's time, one whole frame, then
    // the clock's end of it.
    void runFrame();
    // The window's size, then steps 1 to 6: the frame drawn, not yet shown.
    void drawFrame();
    // Steps 7 to 10.
    void endFrame();

    Surface& surface;
    FrameClock clock;
    ScaleGovernor governor;
    bool governed = false; // the governor sets the render scale: on the wall clock unless one is forced
    FrameTimes times;
    long frames = 0; // run whole

protected:
    // Before the update, given the frame's delta.
    virtual void beforeUpdate(double) {}
    // Step 6; by default the program's render switches and text.
    virtual void overlay(double delta);
    // Between steps 6 and 7, with the finished frame in the back buffer. Its
    // time is the program's own, not the frame's.
    virtual void beforeSwap() {}
};
