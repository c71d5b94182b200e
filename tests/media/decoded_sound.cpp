// libmpg123 in its plain read loop, 16-bit output converted to floats.
#include "decoded_sound.h"

#include <mpg123.h>

#include <cstdint>

DecodedSound decodeMp3(const std::string& path)
{
    DecodedSound sound;
    mpg123_init();
    int error = MPG123_OK;
    mpg123_handle* handle = mpg123_new(nullptr, &error);
    if (handle == nullptr)
        return sound;
    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_GAPLESS, 0.0);
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_open(handle, path.c_str()) != MPG123_OK
        || mpg123_getformat(handle, &rate, &channels, &encoding) != MPG123_OK
        || encoding != MPG123_ENC_SIGNED_16) {
        mpg123_delete(handle);
        return sound;
    }
    std::vector<std::int16_t> block(16384);
    std::vector<std::int16_t> all;
    for (;;) {
        size_t bytes = 0;
        const int status = mpg123_read(handle, reinterpret_cast<unsigned char*>(block.data()),
                                       block.size() * sizeof(std::int16_t), &bytes);
        all.insert(all.end(), block.begin(), block.begin() + static_cast<std::ptrdiff_t>(bytes / sizeof(std::int16_t)));
        if (status == MPG123_DONE)
            break;
        if (status != MPG123_OK && status != MPG123_NEW_FORMAT) {
            mpg123_close(handle);
            mpg123_delete(handle);
            return sound;
        }
    }
    mpg123_close(handle);
    mpg123_delete(handle);

    sound.rate = rate;
    sound.channels = channels;
    const std::size_t frames = all.size() / static_cast<std::size_t>(channels);
    sound.left.resize(frames);
    sound.right.resize(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        sound.left[i] = all[i * channels] / 32768.0f;
        sound.right[i] = all[i * channels + (channels - 1)] / 32768.0f;
    }
    return sound;
}
