// The fireplace: twenty seconds of low rumble, hiss and random pops, as one loop.
#pragma once

#include "media_audio.h"

StereoLoop crackleFireplace();
