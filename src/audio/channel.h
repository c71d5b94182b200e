// A channel: one OpenAL source fed by a short queue of buffers that the
// system's feeder thread refills from the channel's stream.
#pragma once

#include "audio/sound_codes.h"
#include "platform/non_copyable.h"

#include <AL/al.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

namespace sound {

class Sound;

class Channel : NonCopyable {
public:
    // Makes the source and its buffers; `ready()` says whether OpenAL gave them.
    // `lock` is the system's, which the caller holds for the construction.
    Channel(Sound& sound, int index, std::mutex& lock);
    ~Channel();

    bool ready() const;
    // Fills the whole queue and starts playing; the caller holds `lock`.
    void start();
    // Requeues the buffers the source has finished with, and restarts the
    // source if it ran dry because the last refill came too late. `held` holds
    // `lock` on entry and on return, but lets it go while the stream decodes, so
    // that no caller waits for a decode. False when OpenAL reported an error.
    bool refill(std::unique_lock<std::mutex>& held);

    // Each takes `lock` itself: the feeder may be refilling this source meanwhile.
    Result setVolume(float volume);
    // A paused channel keeps its place in the stream and is not restarted by
    // the refills until it is resumed.
    Result setPaused(bool pause);

    Sound* sound;
    int index;              // the channel's place in the system, in the order started
    ALuint source = 0;
    std::mutex& lock;
    bool paused = false;

    static constexpr int BUFFER_COUNT = 4;
    std::array<ALuint, BUFFER_COUNT> buffers{};

private:
    // The next piece of the stream into `pcm`, in frames; 0 when the stream has
    // nothing more. Only one thread at a time plays the stream: the caller's
    // before the channel is started, the feeder's after.
    std::size_t decode();
    // Fills `buffer` with the decoded piece and queues it; the caller holds `lock`.
    void queue(ALuint buffer, std::size_t frames);

    std::vector<std::int16_t> pcm;
};

} // namespace sound
