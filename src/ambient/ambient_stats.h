// The ambient program's per-frame rows, for benchmarks: how long each frame was
// and took, the scale it was drawn at and where in the loop it fell.
#pragma once

#include "ambient/flight_loop.h"

#include <string>

struct AmbientFrameStats {
    long frame = 0;
    double seconds = 0.0;  // the frame's start, since the program's clock began
    double deltaMs = 0.0;  // the time the scene was advanced by
    double workMs = 0.0;   // drawing and presenting, without any wait for the frame cap
    float renderScale = 1.0f;
    LoopPhase phase = LoopPhase::Flight;
    float brightness = 1.0f;
    bool routeFinished = false;
};

// Lines without their line break.
std::string ambientStatsHeader();
std::string ambientStatsRow(const AmbientFrameStats& stats);
