// The sound system: the audio device with its OpenAL context, the streams opened
// on it and the channels playing them. Every call answers a Result; handles it
// gives out stay valid until the system is deleted.
#pragma once

#include "audio/channel.h"
#include "audio/sound.h"
#include "audio/sound_codes.h"

#include <AL/alc.h>

#include <memory>
#include <vector>

namespace sound {

class System {
public:
    System() = default;
    ~System();
    System(const System&) = delete;
    System& operator=(const System&) = delete;

    // Opens the default audio device; `flags` must be INIT_NORMAL and no extra
    // driver data is understood.
    Result init(int maxChannels, unsigned flags, void* extraDriverData);
    // Opens an MP3 file for streaming; `sound` is null unless the result is OK.
    Result createStream(const char* path, unsigned mode, void* extendedInfo, Sound** sound);
    // Starts `sound` on the next free channel (only in the master group, never
    // paused); `channel` is null unless the result is OK.
    Result playSound(Sound* sound, void* channelGroup, bool paused, Channel** channel);
    // Keeps every channel's buffer queue filled; call once per frame.
    Result update();

    int maxChannels = 0;
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    std::vector<std::unique_ptr<Sound>> sounds;
    std::vector<std::unique_ptr<Channel>> channels;
};

// Creates a system without output; init() opens the device.
Result System_Create(System** system);

} // namespace sound
