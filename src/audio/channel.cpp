// Streaming playback on one OpenAL source. Four buffers of a quarter second
// each keep a second of sound queued, enough to ride out a late wake-up of the
// feeder thread on a busy machine.
#include "audio/channel.h"

#include "audio/sound.h"

#include <cmath>

namespace sound {

namespace {

// OpenAL keeps one error state per context, which the caller's thread shares
// between the feeder's stretches under the lock: each stretch clears it first
// and reads it at its end.
template <typename Calls> bool withoutError(Calls calls)
{
    alGetError();
    calls();
    return alGetError() == AL_NO_ERROR;
}

} // namespace

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
        const std::size_t frames = decode();
        if (frames == 0) {
            break;
        }
        queue(buffer, frames);
    }
    alSourcePlay(source);
}

bool Channel::refill(std::unique_lock<std::mutex>& held)
{
    ALint processed = 0;
    std::array<ALuint, BUFFER_COUNT> finished{};
    bool fine = withoutError([&] {
        alGetSourcei(source, AL_BUFFERS_PROCESSED, &processed);
        alSourceUnqueueBuffers(source, processed, finished.data());
    });
    for (ALint i = 0; i < processed; ++i) {
        held.unlock();
        const std::size_t frames = decode();
        held.lock();
        if (frames > 0) {
            fine = withoutError([&] { queue(finished[static_cast<std::size_t>(i)], frames); }) && fine;
        }
    }
    return withoutError([&] {
        ALint state = AL_STOPPED;
        ALint queued = 0;
        alGetSourcei(source, AL_SOURCE_STATE, &state);
        alGetSourcei(source, AL_BUFFERS_QUEUED, &queued);
        if (state != AL_PLAYING && queued > 0) {
            alSourcePlay(source);
        }
    }) && fine;
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

std::size_t Channel::decode()
{
    return sound->read(pcm.data(), pcm.size() / static_cast<std::size_t>(sound->channels));
}

void Channel::queue(ALuint buffer, std::size_t frames)
{
    const auto bytes = static_cast<ALsizei>(frames * static_cast<std::size_t>(sound->channels) * sizeof(std::int16_t));
    alBufferData(buffer, sound->format, pcm.data(), bytes, static_cast<ALsizei>(sound->rate));
    alSourceQueueBuffers(source, 1, &buffer);
}

} // namespace sound
