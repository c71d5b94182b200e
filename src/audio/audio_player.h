// The scene's background sound: the music and the crackling fire, both streamed
// and looped for the whole run. Every call's result lands in `result` and nothing
// depends on it; without files or a device the scene simply runs in silence.
#pragma once

#include "audio/sound_codes.h"

namespace sound {
class Channel;
class Sound;
class System;
} // namespace sound

class AudioPlayer {
public:
    sound::System* system = nullptr;
    sound::Result result = sound::OK;
    sound::Channel* musicChannel = nullptr;
    sound::Channel* fireChannel = nullptr;
    sound::Sound* musicStream = nullptr;
    sound::Sound* fireStream = nullptr;
};

// Creates the sound system, opens both streams and starts them, the fire first.
void startAudio(AudioPlayer& audio);

// Asks the sound system how its streams fare; called once per frame. The
// streams are fed on the sound system's own thread and never wait for it.
void updateAudio(AudioPlayer& audio);

// Both sounds at `level` (0 to 1) of the volumes they start with.
void setAudioLevel(AudioPlayer& audio, float level);

// Holds both sounds where they are, or lets them go on from there.
void pauseAudio(AudioPlayer& audio, bool paused);
