// Test sound files: a sine tone encoded as a mono MP3 with LAME, including the
// header frame that tells a decoder how much padding to trim for gapless play.
#pragma once

#include <string>

constexpr int TONE_RATE = 44100;

void writeToneMp3(const std::string& path, double frequency, int frames, double amplitude);
