// The feeder against a stream whose data comes late: a FIFO the test writes
// holds the feeder in a decode for as long as the test likes, and the caller
// must not wait for it. OpenAL's null back end plays without a device.
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

// The test's end of the stream's FIFO.
struct FifoEnd {
    ~FifoEnd() { close(fd); }
    int fd;
};

} // namespace

TEST(SoundFeeder, ACallerNeverWaitsForADecode)
{
    setenv("ALSOFT_DRIVERS", "null", 1);
    sound::System system;
    ASSERT_EQ(system.init(4, sound::INIT_NORMAL, nullptr), sound::OK);
    TempDir dir;
    const std::string file = dir.path + "/tone.mp3";
    writeToneMp3(file, 440.0, 3 * TONE_RATE, 0.3);
    const std::string bytes = readFile(file);
    const std::string fifo = dir.path + "/late.mp3";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // Both ends at once: the opening waits for no reader, and the stream sees no
    // end until the test closes it, a decode still waiting included.
    const FifoEnd late{open(fifo.c_str(), O_RDWR)};
    // Two of the three seconds now, the last one after the check; the pipe holds them all.
    const std::size_t first = bytes.size() * 2 / 3;
    ASSERT_EQ(write(late.fd, bytes.data(), first), static_cast<ssize_t>(first));

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
    EXPECT_EQ(write(late.fd, bytes.data() + first, bytes.size() - first), static_cast<ssize_t>(bytes.size() - first));
}
