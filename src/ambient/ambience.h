// The ambient program's frame loop: the endless flight drawn on a surface,
// faded around the cut, held to the frame cap, and paused while nothing of it
// can be seen.
#pragma once

#include "ambient/ambient_options.h"
#include "ambient/fade_to_black.h"
#include "ambient/flight_loop.h"
#include "platform/screen_awake.h"
#include "platform/surface.h"
#include "render/scale_governor.h"

#include <chrono>
#include <ostream>

class Ambience {
public:
    using Clock = std::chrono::steady_clock;

    // The scene must be set up, with the surface's context current. `stats`
    // takes one row a frame and `startup` the start-up stages after the first
    // frame; either may be null.
    Ambience(Surface& surface, const AmbientOptions& options, std::ostream* stats, std::ostream* startup);

    // Runs until the surface closes or a stop signal arrives.
    void run();

    Surface& surface;
    const AmbientOptions& options;
    std::ostream* stats;
    std::ostream* startup;
    FadeToBlack fade;
    FlightLoop loop;
    ScaleGovernor governor;
    ScreenAwake screenAwake;
    Clock::time_point origin = Clock::now();
    double period = 0.0; // of the frame cap, 0 without one
    bool paused = false;
    long frames = 0;

private:
    double now() const;
    void waitWhileHidden();
    void resume();
    // Returns the time the frame's work (drawing and presenting) took.
    double runFrame(double frameStart, double delta);
    void drawScene(double delta, const LoopStep& step);
    void writeStats(double frameStart, double delta, double work, const LoopStep& step);
    // Waits for the frame cap's next slot when there is one; returns the next frame's start.
    double nextFrameStart(double frameStart) const;
};
