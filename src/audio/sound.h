// A streamed sound: an MP3 file decoded piece by piece as its channel asks for
// more, rewinding at the end when it loops.
#pragma once

#include "audio/sound_codes.h"
#include "platform/non_copyable.h"

#include <AL/al.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

struct mpg123_handle_struct;

namespace sound {

class Sound : NonCopyable {
public:
    // Opens `path` for streaming; fills `sound` only on success.
    static Result open(const char* path, unsigned mode, std::unique_ptr<Sound>& sound);
    ~Sound();

    Result setMode(unsigned newMode);

    // Decodes up to `frames` frames of 16-bit samples into `samples`; fewer only
    // when a stream that does not loop has ended (or cannot be decoded further).
    std::size_t read(std::int16_t* samples, std::size_t frames);

    // Atomic since the mode may change while a feeder thread reads the stream.
    std::atomic<unsigned> mode = DEFAULT;
    long rate = 0;
    int channels = 0;
    ALenum format = 0;
    bool playing = false;   // streams play on one channel at a time

private:
    explicit Sound(mpg123_handle_struct* decoder);
    mpg123_handle_struct* decoder;
};

} // namespace sound
