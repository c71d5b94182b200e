// The background sounds mixed offline as the program's two channels play them
// together: each from its start, looping, at its channel's volume.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr long MIX_RATE = 44100;

// `frames` interleaved stereo frames at MIX_RATE, decoded through the same MP3
// decoder the program streams with; false with `error` set when a file cannot be.
bool mixBackgroundTracks(std::size_t frames, std::vector<std::int16_t>& stereo, std::string& error);
