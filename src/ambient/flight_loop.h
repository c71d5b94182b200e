// The ambient program's endless flight: the route and its sunset, a few seconds
// of the dusk view, a fade to black, the cut back to the route's start while the
// picture is black, and a fade in as the route begins again.
#pragma once

constexpr double DUSK_SECONDS = 5.0;
constexpr double FADE_SECONDS = 3.0;

enum class LoopPhase {
    Flight,  // the route and the sunset, as long as they take
    Dusk,    // the held view after the sunset
    FadeOut,
    Black,   // one frame drawn black; the cut comes before the next
    FadeIn,  // the route has begun again underneath
};

// What one frame does.
struct LoopStep {
    bool cut = false;        // restart the flight before this frame's update
    float brightness = 1.0f; // of the drawn picture: 0 black, 1 as drawn
};

class FlightLoop {
public:
    // One frame of `seconds`. `sunsetEnded` is the scene's word, as it stands
    // before this frame's update, that the sunset has run its course. A frame
    // that runs past the end of a timed phase carries the rest into the next,
    // except into the fade in: the cut waits for a frame that was drawn black,
    // so the view jumps only under black.
    LoopStep advance(double seconds, bool sunsetEnded);

    float brightness() const;

    LoopPhase phase = LoopPhase::Flight;
    double phaseSeconds = 0.0;
};
