// The ambient program's frame loop: the endless flight drawn on a surface,
// faded around the cut, held to the frame cap, and paused while nothing of it
// can be seen.
#pragma once

#include "ambient/ambient_options.h"
#include "ambient/fade_to_black.h"
#include "ambient/flight_loop.h"
#include "app/frame_driver.h"
#include "platform/screen_awake.h"
#include "platform/surface.h"

#include <ostream>

class Ambience : public FrameDriver {
public:
    // The scene must be set up, with the surface's context current. `stats`
    // takes one row a frame and `startup` the start-up stages after the first
    // frame; either may be null.
    Ambience(Surface& surface, const AmbientOptions& options, std::ostream* stats, std::ostream* startup);

    // Runs until the surface closes or a stop signal arrives.
    void run();

    const AmbientOptions& options;
    std::ostream* stats;
    std::ostream* startup;
    FadeToBlack fade;
    FlightLoop loop;
    LoopStep step;
    ScreenAwake screenAwake;
    double origin = 0.0; // the clock's reading when the program's time began
    bool paused = false;

protected:
    // The loop's step, and the cut back to the route's start while black.
    void beforeUpdate(double delta) override;
    // The fade, then the frame-rate line when asked for.
    void overlay(double delta) override;

private:
    void waitWhileHidden();
    void resume();
    void writeStats();
};
