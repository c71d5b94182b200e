// An MP3 file decoded with libmpg123 into float channels, gapless (the encoder's
// delay and padding dropped), as a player that honours the LAME info frame loops it.
#pragma once

#include <string>
#include <vector>

struct DecodedSound {
    long rate = 0;
    int channels = 0;
    std::vector<float> left;
    std::vector<float> right;   // equals `left` for mono

    double seconds() const { return rate > 0 ? static_cast<double>(left.size()) / rate : 0.0; }
};

// Empty result (rate 0) when the file cannot be opened or decoded.
DecodedSound decodeMp3(const std::string& path);
