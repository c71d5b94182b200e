// The replay tool's per-frame timings and scene state as CSV rows.
#pragma once

#include "render/pass_timer.h"

#include <string>

// CPU times are wall-clock time spent on the CPU side of a step; GPU times come
// from the pass timer and are NaN for a pass that did not run in the frame.
struct FrameStats {
    long frame = 0;
    double simTime = 0.0;
    double updateCpuMs = 0.0;
    double submitCpuMs = 0.0; // frustum, render passes and overlay
    double gpuMs[FRAME_PASS_COUNT] = {};
    double frameWallMs = 0.0; // clear to event poll, capture excluded
    int objectsRendered = 0;
    // The scene as the frame left it, so that runs can be checked from the file.
    float skyLight = 1.0f;
    float flicker = 0.0f;
    double sunAngleDeg = 0.0;  // the turn of the directional light about z
    bool routeFinished = false;
    bool skyDimmed = false;
    float renderScale = 1.0f;  // the share of the window's size the scene was drawn at
};

// Lines without their line break. A GPU time that is NaN is an empty field.
std::string statsHeader();
std::string statsRow(const FrameStats& stats);
