// The feeder against a stream whose data comes late: a FIFO the test writes
// holds the feeder in a decode for as long as the test likes, and the caller's
// update must not wait for it. OpenAL's null back end plays without a device.
#include "audio/channel.h"
#include "audio/sound_system.h"
#include "support/process.h"
#include "tone_mp3.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <optional>
#include <thread>

namespace {

// Whether the source has played all it was given, asked under the system's lock;
// nullopt while the lock stays taken for longer than the test waits.
std::optional<bool> playedOut(sound::System& system, const sound::Channel& channel)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!system.lock.try_lock()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ALint state = AL_PLAYING;
    alGetSourcei(channel.source, AL_SOURCE_STATE, &state);
    system.lock.unlock();
    return state == AL_STOPPED;
}

} // namespace

TEST(SoundFeeder, ACallerNeverWaitsForADecode)
{
    setenv("ALSOFT_DRIVERS", "null", 1);
    TempDir dir;
    const std::string file = dir.path + "/tone.mp3";
    writeToneMp3(file, 440.0, 3 * TONE_RATE, 0.3);
    const std::string bytes = readFile(file);
    const std::string fifo = dir.path + "/late.mp3";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);

    // Two of the three seconds at once, the last one when the latch opens.
    std::promise<void> latch;
    std::thread writer([&] {
        const int fd = open(fifo.c_str(), O_WRONLY);
        const std::size_t first = bytes.size() * 2 / 3;
        EXPECT_EQ(write(fd, bytes.data(), first), static_cast<ssize_t>(first));
        latch.get_future().wait();
        EXPECT_EQ(write(fd, bytes.data() + first, bytes.size() - first), static_cast<ssize_t>(bytes.size() - first));
        close(fd);
    });

    sound::System system;
    ASSERT_EQ(system.init(4, sound::INIT_NORMAL, nullptr), sound::OK);
    sound::Sound* stream = nullptr;
    ASSERT_EQ(system.createStream(fifo.c_str(), sound::DEFAULT, nullptr, &stream), sound::OK);
    sound::Channel* channel = nullptr;
    ASSERT_EQ(system.playSound(stream, nullptr, false, &channel), sound::OK);

    // Once the source has played the two seconds, the feeder is waiting in a
    // decode for the third; the lock stays free for the caller meanwhile.
    std::optional<bool> stopped = false;
    while (stopped == false) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        stopped = playedOut(system, *channel);
    }
    EXPECT_TRUE(stopped.has_value()) << "the caller waited on the lock while the feeder decoded";
    if (stopped) {
        EXPECT_EQ(system.update(), sound::OK);
    }

    latch.set_value();
    writer.join();
    system.close();
}
