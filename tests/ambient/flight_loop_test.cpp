// The endless flight's timing, driven frame by frame with made-up times: the
// route and the sunset last as long as the scene says, then the dusk view, the
// fade out, one black frame, the cut, the fade in.
#include "ambient/flight_loop.h"

#include <gtest/gtest.h>

namespace {

struct Frame {
    double seconds;
    bool sunsetEnded;
    LoopPhase phase; // after the frame
    bool cut;
    float brightness;
    const char* what;
};

} // namespace

TEST(FlightLoop, RunsTheDuskTheFadesAndTheCutInOrder)
{
    const Frame frames[] = {
        {0.05, false, LoopPhase::Flight, false, 1.0f, "the route"},
        {130.0, false, LoopPhase::Flight, false, 1.0f, "the route and the sunset, however long"},
        {0.05, true, LoopPhase::Dusk, false, 1.0f, "the sunset has ended: the dusk view"},
        {4.9, true, LoopPhase::Dusk, false, 1.0f, "4.95 s of dusk"},
        {0.5, true, LoopPhase::FadeOut, false, 1.0f - 0.45f / 3.0f, "past 5 s the rest of the frame fades"},
        {1.5, true, LoopPhase::FadeOut, false, 1.0f - 1.95f / 3.0f, "the fade out goes on"},
        {1.5, true, LoopPhase::Black, false, 0.0f, "a frame across the fade's end is drawn black"},
        {0.1, true, LoopPhase::FadeIn, true, 0.1f / 3.0f, "the cut, before the fade in's first frame"},
        {1.4, false, LoopPhase::FadeIn, false, 0.5f, "the fade in, over the route's start"},
        {1.6, false, LoopPhase::Flight, false, 1.0f, "the fade in is over"},
        {120.0, false, LoopPhase::Flight, false, 1.0f, "the second flight"},
        {0.1, true, LoopPhase::Dusk, false, 1.0f, "its dusk"},
        {9.0, true, LoopPhase::Black, false, 0.0f, "a stall across dusk and fade is still drawn black"},
        {4.0, false, LoopPhase::Flight, true, 1.0f, "a stall across the whole fade in cuts and ends it"},
    };
    FlightLoop loop;
    for (const Frame& frame : frames) {
        const LoopStep step = loop.advance(frame.seconds, frame.sunsetEnded);
        EXPECT_EQ(loop.phase, frame.phase) << frame.what;
        EXPECT_EQ(step.cut, frame.cut) << frame.what;
        EXPECT_NEAR(step.brightness, frame.brightness, 1e-5f) << frame.what;
    }
}
