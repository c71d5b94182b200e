// MP3 output of a loop buffer: 44.1 kHz joint stereo, constant bit rate, with the
// LAME info frame that lets decoders drop the encoder's delay and padding, so the
// decoded stream is exactly the loop. No tags, nothing that varies between runs.
#pragma once

#include "media_audio.h"

#include <string>

void writeMp3(const std::string& path, const StereoLoop& loop, int kilobitsPerSecond);
