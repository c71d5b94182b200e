// A small room reverb (parallel damped combs into all-passes, a different set of
// delays per channel) run over a loop so that its tail wraps into the start.
#pragma once

#include "media_audio.h"

void addLoopReverb(StereoLoop& loop, float wet);
