// The sound system on OpenAL Soft. OpenAL mixes on its own thread; the system's
// feeder thread keeps the channels' buffer queues filled, so a caller that
// stalls for longer than the queued second does not starve them.
#include "audio/sound_system.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <alsa/asoundlib.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>

namespace sound {

namespace {

// A fifth of a buffer: each finished buffer is back in the queue long before the
// rest of the queued second has played.
constexpr auto REFILL_PERIOD = std::chrono::milliseconds(50);

// Systems whose feeder runs. A program may end, by returning from main or by
// exit(), without deleting its system; its feeder must not be inside an OpenAL
// call when the library tears its contexts down at exit, so an exit handler,
// which runs before the libraries' own, closes every system still open.
std::mutex openSystemsLock;
std::vector<System*> openSystems;

void closeOpenSystems()
{
    std::vector<System*> open;
    {
        const std::lock_guard guard(openSystemsLock);
        open.swap(openSystems);
    }
    for (System* system : open) {
        system->close();
    }
}

void addOpenSystem(System* system)
{
    static std::once_flag exitHandlerSet;
    std::call_once(exitHandlerSet, [] { std::atexit(closeOpenSystems); });
    const std::lock_guard guard(openSystemsLock);
    openSystems.push_back(system);
}

void removeOpenSystem(System* system)
{
    const std::lock_guard guard(openSystemsLock);
    openSystems.erase(std::remove(openSystems.begin(), openSystems.end(), system), openSystems.end());
}

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
    close();
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
    stopping = false;
    fed = OK;
    feeder = std::thread(&System::feed, this);
    addOpenSystem(this);
    return OK;
}

Result System::close()
{
    stopFeeder();
    channels.clear();
    sounds.clear();
    if (context) {
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(context);
        context = nullptr;
    }
    if (device) {
        alcCloseDevice(device);
        device = nullptr;
    }
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
    const std::lock_guard guard(lock);
    if (static_cast<int>(channels.size()) >= maxChannels) {
        return ERR_CHANNEL_ALLOC;
    }
    auto started = std::make_unique<Channel>(*sound, static_cast<int>(channels.size()), lock);
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
    const std::lock_guard guard(lock);
    return fed;
}

void System::feed()
{
    std::unique_lock guard(lock);
    while (!wake.wait_for(guard, REFILL_PERIOD, [this] { return stopping; })) {
        // By index: the caller may start a channel while a refill decodes
        // without the lock; none is removed while the feeder runs.
        bool fine = true;
        for (std::size_t i = 0; i < channels.size(); ++i) {
            fine = channels[i]->refill(guard) && fine;
        }
        fed = fine ? OK : ERR_OUTPUT;
    }
}

void System::stopFeeder()
{
    if (!feeder.joinable()) {
        return;
    }
    removeOpenSystem(this);
    {
        const std::lock_guard guard(lock);
        stopping = true;
    }
    wake.notify_one();
    feeder.join();
}

} // namespace sound
