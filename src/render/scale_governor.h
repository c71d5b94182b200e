// Chooses the size the scene is drawn at from the frame times the loop measures:
// smaller while frames run long, back up to the window's size once the machine
// can afford it.
#pragma once

#include <deque>

// Scales are held in whole tenths, so that the full size is exactly 1 and its
// frame is drawn straight to the window.
constexpr int FULL_SCALE_TENTHS = 10;
constexpr int FLOOR_SCALE_TENTHS = 5;

class ScaleGovernor {
public:
    // Takes the delta of one whole frame, in seconds, and returns the scale for the next.
    float addFrame(double seconds);
    float scale() const;

    int tenths = FULL_SCALE_TENTHS;
    std::deque<double> recent;  // deltas since the last change, newest last
    double sinceChange = 0.0;   // seconds
};
