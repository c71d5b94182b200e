// The replay tool's floor: a window of the same size whose frames only clear and
// swap, so that every figure of a scene run can be read as a ratio to it.
#pragma once

#include "replay/replay_stats.h"

class FrameDriver;

// Opens the window and its context as the program does, without the scene; a
// debug context with `debugContext`, its messages reported.
void startFloor(int width, int height, bool debugContext);

// One empty frame: clear, then the driver's end of frame; GPU times are NaN.
FrameStats floorFrame(FrameDriver& driver, long frame, double dt);

void shutDownFloor();
