// The sound system on OpenAL Soft. OpenAL mixes on its own thread; the system
// only has to keep the channels' buffer queues filled from the main thread.
#include "audio/sound_system.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <alsa/asoundlib.h>

#include <cstdlib>

namespace sound {

namespace {

void ignoreAlsaDiagnostic(const char*, int, const char*, int, const char*, ...)
{
}

// Without an audio device ALSA and OpenAL Soft each print their complaints on
// standard error; the caller learns the outcome from the result instead. ALSA
// is the same library OpenAL Soft loads, so its handler covers those calls too;
// OpenAL Soft reads its log level when it first initialises, and a level the
// user set stays.
void silenceLibraryDiagnostics()
{
    snd_lib_error_set_handler(ignoreAlsaDiagnostic);
    setenv("ALSOFT_LOGLEVEL", "0", 0);
}

} // namespace

Result System_Create(System** system)
{
    if (!system) {
        return ERR_INVALID_PARAM;
    }
    *system = new System();
    return OK;
}

System::~System()
{
    channels.clear();
    sounds.clear();
    if (context) {
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(context);
    }
    if (device) {
        alcCloseDevice(device);
    }
}

Result System::init(int maxChannelCount, unsigned flags, void* extraDriverData)
{
    if (device) {
        return ERR_INITIALIZED;
    }
    if (maxChannelCount <= 0 || flags != INIT_NORMAL || extraDriverData) {
        return ERR_INVALID_PARAM;
    }
    silenceLibraryDiagnostics();
    ALCdevice* opened = alcOpenDevice(nullptr);
    if (!opened) {
        return ERR_OUTPUT_INIT;
    }
    ALCcontext* created = alcCreateContext(opened, nullptr);
    if (!created || !alcMakeContextCurrent(created)) {
        if (created) {
            alcDestroyContext(created);
        }
        alcCloseDevice(opened);
        return ERR_OUTPUT_INIT;
    }
    device = opened;
    context = created;
    maxChannels = maxChannelCount;
    return OK;
}

Result System::createStream(const char* path, unsigned mode, void* extendedInfo, Sound** sound)
{
    if (!sound) {
        return ERR_INVALID_PARAM;
    }
    *sound = nullptr;
    if (!context) {
        return ERR_UNINITIALIZED;
    }
    if (!path || extendedInfo) {
        return ERR_INVALID_PARAM;
    }
    std::unique_ptr<Sound> opened;
    const Result result = Sound::open(path, mode, opened);
    if (result != OK) {
        return result;
    }
    *sound = opened.get();
    sounds.push_back(std::move(opened));
    return OK;
}

Result System::playSound(Sound* sound, void* channelGroup, bool paused, Channel** channel)
{
    if (!channel) {
        return ERR_INVALID_PARAM;
    }
    *channel = nullptr;
    if (!context) {
        return ERR_UNINITIALIZED;
    }
    if (!sound) {
        return ERR_INVALID_HANDLE;
    }
    if (channelGroup || paused || sound->playing) {
        return ERR_INVALID_PARAM;
    }
    if (static_cast<int>(channels.size()) >= maxChannels) {
        return ERR_CHANNEL_ALLOC;
    }
    auto started = std::make_unique<Channel>(*sound, static_cast<int>(channels.size()));
    if (!started->ready()) {
        return ERR_OUTPUT;
    }
    started->start();
    sound->playing = true;
    *channel = started.get();
    channels.push_back(std::move(started));
    return OK;
}

Result System::update()
{
    if (!context) {
        return ERR_UNINITIALIZED;
    }
    alGetError();
    for (const auto& channel : channels) {
        channel->refill();
    }
    return alGetError() == AL_NO_ERROR ? OK : ERR_OUTPUT;
}

} // namespace sound
