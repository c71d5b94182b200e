// The sound system: the audio device with its OpenAL context, the streams opened
// on it, the channels playing them and the feeder thread that keeps the
// channels' queues filled, so that the sound never waits for the caller's next
// update. Every call answers a Result; handles it gives out stay valid until the
// system is closed or deleted.
#pragma once

#include "audio/channel.h"
#include "audio/sound.h"
#include "audio/sound_codes.h"
#include "platform/non_copyable.h"

#include <AL/alc.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace sound {

class System : NonCopyable {
public:
    ~System();

    // Opens the default audio device and starts the feeder; `flags` must be
    // INIT_NORMAL and no extra driver data is understood.
    Result init(int maxChannels, unsigned flags, void* extraDriverData);
    // Stops the feeder, then releases the channels, streams, context and device
    // in that order; safe to call again, or on a system never initialised.
    Result close();
    // Opens an MP3 file for streaming; `sound` is null unless the result is OK.
    Result createStream(const char* path, unsigned mode, void* extendedInfo, Sound** sound);
    // Starts `sound` on the next free channel (only in the master group, never
    // paused); `channel` is null unless the result is OK.
    Result playSound(Sound* sound, void* channelGroup, bool paused, Channel** channel);
    // Reports whether the feeder's last refill went through; call once per
    // frame. The feeder does not depend on it.
    Result update();

    int maxChannels = 0;
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    std::vector<std::unique_ptr<Sound>> sounds;
    // Guards everything the feeder and the caller's thread both touch: the
    // channels, their sources, OpenAL's error state, `fed` and the feeder's
    // stop flag. Streams decode outside it: a slow decode must not hold up a
    // frame's update.
    std::mutex lock;
    std::vector<std::unique_ptr<Channel>> channels;
    Result fed = OK;    // the outcome of the feeder's last refill

private:
    // The feeder's loop: refills every channel each REFILL_PERIOD until stopped.
    void feed();
    void stopFeeder();

    std::condition_variable wake;
    bool stopping = false;
    std::thread feeder;
};

// Creates a system without output; init() opens the device.
Result System_Create(System** system);

} // namespace sound
