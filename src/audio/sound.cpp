// MP3 decoding through libmpg123, always to signed 16-bit samples at the file's
// own rate, so that every decoded piece can go straight into an OpenAL buffer.
#include "audio/sound.h"

#include <mpg123.h>

#include <cstdio>

namespace sound {

namespace {

// Asks the decoder for 16-bit output only, in mono or stereo at any rate.
void limitToSixteenBit(mpg123_handle* decoder)
{
    mpg123_format_none(decoder);
    const long* rates = nullptr;
    std::size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (std::size_t i = 0; i < rateCount; ++i) {
        mpg123_format(decoder, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    }
}

} // namespace

Result Sound::open(const char* path, unsigned mode, std::unique_ptr<Sound>& sound)
{
    mpg123_handle* decoder = mpg123_new(nullptr, nullptr);
    if (!decoder) {
        return ERR_FORMAT;
    }
    std::unique_ptr<Sound> opened(new Sound(decoder));
    // Quiet keeps the decoder's complaints about damaged frames off the console;
    // gapless trims the encoder's padding so that a loop has no silent seam.
    mpg123_param(decoder, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0.0);
    limitToSixteenBit(decoder);

    if (mpg123_open(decoder, path) != MPG123_OK) {
        return ERR_FILE_NOTFOUND;
    }
    int encoding = 0;
    if (mpg123_getformat(decoder, &opened->rate, &opened->channels, &encoding) != MPG123_OK
        || encoding != MPG123_ENC_SIGNED_16 || (opened->channels != 1 && opened->channels != 2)) {
        return ERR_FORMAT;
    }
    opened->format = opened->channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
    opened->mode = mode;
    sound = std::move(opened);
    return OK;
}

Sound::Sound(mpg123_handle* decoder) : decoder(decoder) {}

Sound::~Sound()
{
    mpg123_delete(decoder);
}

Result Sound::setMode(unsigned newMode)
{
    mode = newMode;
    return OK;
}

std::size_t Sound::read(std::int16_t* samples, std::size_t frames)
{
    const std::size_t frameBytes = sizeof(std::int16_t) * static_cast<std::size_t>(channels);
    std::size_t filled = 0;
    bool emptySinceRewind = false;
    while (filled < frames) {
        std::size_t bytes = 0;
        const int status = mpg123_read(decoder, samples + filled * channels, (frames - filled) * frameBytes, &bytes);
        filled += bytes / frameBytes;
        if (bytes > 0) {
            emptySinceRewind = false;
        }
        if (status == MPG123_NEW_FORMAT || (status == MPG123_OK && bytes > 0)) {
            continue;
        }
        // A file without a single sample would otherwise rewind for ever.
        const bool loops = (mode & LOOP_NORMAL) != 0;
        if (status != MPG123_DONE || !loops || emptySinceRewind) {
            break;
        }
        if (mpg123_seek(decoder, 0, SEEK_SET) < 0) {
            break;
        }
        emptySinceRewind = true;
    }
    return filled;
}

} // namespace sound
