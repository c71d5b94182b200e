// Encoding of the test tones with libmp3lame.
#include "tone_mp3.h"

#include <lame/lame.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <numbers>
#include <stdexcept>
#include <vector>

void writeToneMp3(const std::string& path, double frequency, int frames, double amplitude)
{
    std::vector<short> pcm(static_cast<std::size_t>(frames));
    for (int i = 0; i < frames; ++i) {
        const double phase = 2.0 * std::numbers::pi * frequency * i / TONE_RATE;
        pcm[static_cast<std::size_t>(i)] = static_cast<short>(std::lround(32767.0 * amplitude * std::sin(phase)));
    }

    lame_global_flags* lame = lame_init();
    lame_set_num_channels(lame, 1);
    lame_set_mode(lame, MONO);
    lame_set_in_samplerate(lame, TONE_RATE);
    lame_set_out_samplerate(lame, TONE_RATE);
    lame_set_brate(lame, 128);
    lame_set_bWriteVbrTag(lame, 1);
    if (lame_init_params(lame) < 0) {
        lame_close(lame);
        throw std::runtime_error("lame_init_params failed");
    }
    std::vector<unsigned char> mp3(pcm.size() * 5 / 4 + 7200 + 8192);
    int bytes = lame_encode_buffer(lame, pcm.data(), pcm.data(), frames, mp3.data(), static_cast<int>(mp3.size()));
    bytes += lame_encode_flush(lame, mp3.data() + bytes, static_cast<int>(mp3.size()) - bytes);
    // The first frame written was a placeholder for this tag.
    unsigned char tag[2880];
    const std::size_t tagSize = lame_get_lametag_frame(lame, tag, sizeof tag);
    lame_close(lame);
    if (bytes <= 0 || tagSize == 0 || tagSize > static_cast<std::size_t>(bytes)) {
        throw std::runtime_error("MP3 encoding failed");
    }
    std::memcpy(mp3.data(), tag, tagSize);

    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(mp3.data()), bytes);
    if (!file) {
        throw std::runtime_error("cannot write " + path);
    }
}
