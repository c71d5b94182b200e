// Where a frame's delta comes from, the one thing the programs' frames differ
// in: the wall clock (the program, the replay tool on the clock), a fixed step
// (captures, films, timings, tests), or the wall clock with a frame cap (the
// ambience). The frame driver asks it for the delta at the frame's second step
// and hands it back the frame once the frame is done.
#pragma once

class FrameClock {
public:
    // Seconds on some steady scale.
    using Source = double (*)();

    // Frames as long as the time between their starts on `now`. The frame
    // before the first is taken to have begun at `lastStart`: the program's
    // clock starts at 0, when the window system did, so that its first delta
    // holds the whole set-up. With `maxFps` above 0 a frame that ends early
    // waits for its slot, and the next begins on the slot.
    static FrameClock wall(Source now, double lastStart, int maxFps = 0);
    // Frames of `step` seconds each, however long they take.
    static FrameClock fixedStep(double step);

    bool fixed() const { return now == nullptr; }

    // This frame's delta; the frame begins now (or on the slot it waited for).
    double startFrame();
    // The frame is done: waits for the frame cap's slot when there is one.
    void finishFrame();
    // The time from now to the next frame is no frame's: a pause, such as while
    // nothing of the window can be seen, leaves the next delta near 0.
    void skipPause();

    Source now = nullptr; // null on a fixed step
    double step = 0.0;
    double period = 0.0;    // of the frame cap; 0 without one
    double lastStart = 0.0; // when the frame now running (or the last one) began
    double slot = -1.0;     // where the frame cap has set the next frame's start; < 0 if not
};

// Seconds on the steady clock, from an arbitrary origin.
double steadySeconds();
