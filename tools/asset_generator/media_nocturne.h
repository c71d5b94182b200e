// The background music: a calm nocturne in E-flat major, 12/8, sixteen bars of
// six seconds with a broken-chord left hand and a singing right hand, as one loop.
#pragma once

#include "media_audio.h"

StereoLoop composeNocturne();
