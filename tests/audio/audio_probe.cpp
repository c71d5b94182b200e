// Runs the scene's audio in its own process, where the test has chosen the OpenAL
// back end through the environment: starts it, updates it at a given pace, and
// writes what it sees to a report file, then ends as the test asks: "delete"
// closes and deletes the system, "exit" returns from main with it still open,
// as the program does. With "pause" the sound is paused for the middle third
// of the run, as the ambient program pauses it while its window is hidden.
//   audio_probe <report file> <seconds to run> <seconds between updates> <ending> [pause]
#include "audio/audio_player.h"
#include "audio/channel.h"
#include "audio/sound_system.h"

#include <chrono>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>

namespace {

float gainOf(sound::Channel* channel)
{
    float gain = -1.0f;
    if (channel) {
        const std::lock_guard guard(channel->lock);
        alGetSourcef(channel->source, AL_GAIN, &gain);
    }
    return gain;
}

int indexOf(const sound::Channel* channel)
{
    return channel ? channel->index : -1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5 && argc != 6) {
        return 2;
    }
    const std::string ending = argv[4];
    const bool pausing = argc == 6 && std::string(argv[5]) == "pause";
    const auto runTime = std::chrono::duration<double>(std::stod(argv[2]));
    const auto updateInterval = std::chrono::duration<double>(std::stod(argv[3]));

    AudioPlayer audio;
    startAudio(audio);
    const sound::Result startResult = audio.result;

    int updates = 0;
    int failedUpdates = 0;
    int paused = 0; // thirds of the run begun
    sound::Result pauseResult = sound::OK;
    const auto start = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() - start < runTime) {
        std::this_thread::sleep_for(updateInterval);
        const int third = static_cast<int>(3.0 * (std::chrono::steady_clock::now() - start) / runTime);
        if (pausing && third > paused && third < 3) {
            pauseAudio(audio, third == 1);
            pauseResult = audio.result != sound::OK ? audio.result : pauseResult;
            paused = third;
        }
        updateAudio(audio);
        ++updates;
        failedUpdates += audio.result != sound::OK ? 1 : 0;
    }

    std::ofstream report(argv[1]);
    report << "system " << (audio.system != nullptr) << '\n'
           << "musicStream " << (audio.musicStream != nullptr) << '\n'
           << "fireStream " << (audio.fireStream != nullptr) << '\n'
           << "musicIndex " << indexOf(audio.musicChannel) << '\n'
           << "fireIndex " << indexOf(audio.fireChannel) << '\n'
           << "musicGain " << gainOf(audio.musicChannel) << '\n'
           << "fireGain " << gainOf(audio.fireChannel) << '\n'
           << "startResult " << startResult << '\n'
           << "updates " << updates << '\n'
           << "pauseResult " << pauseResult << '\n'
           << "failedUpdates " << failedUpdates << '\n';
    report.close();
    if (ending == "exit") {
        return 0;
    }
    // Closing the device finishes the wave writer's file; the second close and
    // the one the deletion makes find nothing left to release.
    audio.system->close();
    audio.system->close();
    delete audio.system;
    return 0;
}
