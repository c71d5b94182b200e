// Streaming playback on one OpenAL source. Four buffers of a quarter second
// each keep a second of sound queued, enough to ride out a late wake-up of the
// feeder thread on a busy machine.
#include "audio/channel.h"

#include "audio/sound.h"

#include <cmath>

namespace sound {

Channel::Channel(Sound& sound, int index, std::mutex& lock)
    : sound(&sound)
    , index(index)
    , lock(lock)
    , pcm(static_cast<std::size_t>(sound.rate / 4 * sound.channels))
{
    alGetError();
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR) {
        source = 0;
        return;
    }
    alGenBuffers(BUFFER_COUNT, buffers.data());
    if (alGetError() != AL_NO_ERROR) {
        buffers.fill(0);
        return;
    }
    // Background sound: heard from where the listener is, never attenuated by distance.
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
}

Channel::~Channel()
{
    if (source != 0) {
        alSourceStop(source);
        alSourcei(source, AL_BUFFER, 0);
        alDeleteSources(1, &source);
    }
    if (buffers[0] != 0) {
        alDeleteBuffers(BUFFER_COUNT, buffers.data());
    }
}

bool Channel::ready() const
{
    return source != 0 && buffers[0] != 0;
}

void Channel::start()
{
    for (const ALuint buffer : buffers) {
        if (!queue(buffer)) {
            break;
        }
    }
    alSourcePlay(source);
}

void Channel::refill()
{
    ALint processed = 0;
    alGetSourcei(source, AL_BUFFERS_PROCESSED, &processed);
    for (; processed > 0; --processed) {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(source, 1, &buffer);
        queue(buffer);
    }

    ALint state = AL_STOPPED;
    ALint queued = 0;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    alGetSourcei(source, AL_BUFFERS_QUEUED, &queued);
    if (!paused && state != AL_PLAYING && queued > 0) {
        alSourcePlay(source);
    }
}

Result Channel::setVolume(float volume)
{
    if (!(volume >= 0.0f) || std::isinf(volume)) {
        return ERR_INVALID_PARAM;
    }
    const std::lock_guard guard(lock);
    alSourcef(source, AL_GAIN, volume);
    return OK;
}

Result Channel::setPaused(bool pause)
{
    const std::lock_guard guard(lock);
    paused = pause;
    if (pause) {
        alSourcePause(source);
    } else {
        alSourcePlay(source);
    }
    return OK;
}

bool Channel::queue(ALuint buffer)
{
    const std::size_t frames = sound->read(pcm.data(), pcm.size() / static_cast<std::size_t>(sound->channels));
    if (frames == 0) {
        return false;
    }
    const auto bytes = static_cast<ALsizei>(frames * static_cast<std::size_t>(sound->channels) * sizeof(std::int16_t));
    alBufferData(buffer, sound->format, pcm.data(), bytes, static_cast<ALsizei>(sound->rate));
    alSourceQueueBuffers(source, 1, &buffer);
    return true;
}

} // namespace sound
