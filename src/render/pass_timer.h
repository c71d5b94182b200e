// GPU time of each frame pass, measured with timer queries. Off by default so the
// program pays nothing; the replay tool turns it on to write per-frame timings.
#pragma once

#include "render/frame_pass_table.h"

// Brackets one pass; both are no-ops unless timing is enabled. Passes do not nest,
// and each is timed once per frame: timing a pass again restarts its measurement.
void beginPassTiming(FramePass pass);
void endPassTiming(FramePass pass);

void enablePassTiming(bool enabled);

// After the frame: waits for the GPU and fills the time of every pass in
// milliseconds, NaN for a pass not timed in this frame. False (and nothing
// filled) while timing is disabled.
bool collectPassTimes(double milliseconds[FRAME_PASS_COUNT]);
