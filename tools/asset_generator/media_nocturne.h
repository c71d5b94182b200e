// The background music: a nocturne in E-flat major, 12/8, about four minutes,
// played on a sampled grand piano as one loop. A statement of the theme, its
// ornamented return, a middle part that moves away through C minor to G-flat
// major and comes back over the dominant, the theme once more, and a coda on the
// tonic that leads into the opening bar.
#pragma once

#include "media_audio.h"

StereoLoop composeNocturne();
