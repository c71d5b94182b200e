// The order and values of the scene's sound calls.
#include "audio/audio_player.h"

#include "audio/background_tracks.h"
#include "audio/channel.h"
#include "audio/sound.h"
#include "audio/sound_system.h"
#include "platform/native_path.h"
#include "platform/report_line.h"

#include <string>

namespace {

constexpr int MAX_CHANNELS = 1024;

// A stream or channel that failed to come into being stays null; a call on it
// answers an invalid handle instead of touching it.
template <typename Handle, typename Call> sound::Result onHandle(Handle* handle, Call call)
{
    return handle ? call(*handle) : sound::ERR_INVALID_HANDLE;
}

sound::Result openLooping(AudioPlayer& audio, const char* file, sound::Sound** stream)
{
    const std::string path = nativePath(file);
    const sound::Result result = onHandle(audio.system, [&](sound::System& system) {
        return system.createStream(path.c_str(), sound::DEFAULT, nullptr, stream);
    });
    onHandle(*stream, [](sound::Sound& sound) { return sound.setMode(sound::LOOP_NORMAL); });
    return result;
}

sound::Result play(AudioPlayer& audio, sound::Sound* stream, sound::Channel** channel)
{
    return onHandle(audio.system, [&](sound::System& system) {
        return system.playSound(stream, nullptr, false, channel);
    });
}

sound::Result setVolume(sound::Channel* channel, float volume)
{
    return onHandle(channel, [&](sound::Channel& playing) { return playing.setVolume(volume); });
}

} // namespace

void startAudio(AudioPlayer& audio)
{
    audio.result = sound::System_Create(&audio.system);
    audio.result = onHandle(audio.system, [](sound::System& system) {
        return system.init(MAX_CHANNELS, sound::INIT_NORMAL, nullptr);
    });
    // The program runs on in silence; one line says so, off standard output.
    if (audio.result == sound::ERR_OUTPUT_INIT)
        reportLine("Sound is off: no audio output device could be opened");
    audio.result = openLooping(audio, MUSIC_TRACK.file, &audio.musicStream);
    audio.result = openLooping(audio, FIRE_TRACK.file, &audio.fireStream);
    audio.result = play(audio, audio.fireStream, &audio.fireChannel);
    audio.result = play(audio, audio.musicStream, &audio.musicChannel);
    setAudioLevel(audio, 1.0f);
}

void setAudioLevel(AudioPlayer& audio, float level)
{
    audio.result = setVolume(audio.musicChannel, MUSIC_TRACK.volume * level);
    audio.result = setVolume(audio.fireChannel, FIRE_TRACK.volume * level);
}

void pauseAudio(AudioPlayer& audio, bool paused)
{
    for (sound::Channel* channel : {audio.musicChannel, audio.fireChannel})
        audio.result = onHandle(channel, [&](sound::Channel& playing) { return playing.setPaused(paused); });
}

void updateAudio(AudioPlayer& audio)
{
    audio.result = onHandle(audio.system, [](sound::System& system) { return system.update(); });
}
