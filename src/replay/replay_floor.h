// The replay tool's floor: a window of the same size whose frames only clear and
// swap, so that every figure of a scene run can be read as a ratio to it.
#pragma once

#include "replay/replay_stats.h"

// Opens the window and its context as the program does, without the scene.
void startFloor(int width, int height);

// One empty frame: clear, then the program's end of frame; GPU times are NaN.
FrameStats floorFrame(long frame, double dt);

void shutDownFloor();
