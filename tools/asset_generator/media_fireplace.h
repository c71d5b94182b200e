// The fireplace: a little over three minutes of a wood fire, as one loop.
#pragma once

#include "media_audio.h"

StereoLoop crackleFireplace();
