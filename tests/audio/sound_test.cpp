// Streams decoded without any audio device: exact lengths, seamless loops, and
// files that cannot be played.
#include "audio/sound.h"
#include "support/process.h"
#include "tone_mp3.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

constexpr int TONE_FRAMES = 4410;   // 0.1 s, exactly 100 cycles of 1000 Hz

class SoundTest : public testing::Test {
protected:
    void SetUp() override { writeToneMp3(path, 1000.0, TONE_FRAMES, 0.5); }

    std::unique_ptr<sound::Sound> open(unsigned mode)
    {
        std::unique_ptr<sound::Sound> sound;
        EXPECT_EQ(sound::Sound::open(path.c_str(), mode, sound), sound::OK);
        return sound;
    }

    TempDir dir;
    const std::string path = dir.path + "/tone.mp3";
};

} // namespace

TEST_F(SoundTest, DecodesTheEncodedSamplesWithoutPadding)
{
    const auto sound = open(sound::DEFAULT);
    ASSERT_TRUE(sound);
    EXPECT_EQ(sound->rate, TONE_RATE);
    EXPECT_EQ(sound->channels, 1);
    EXPECT_EQ(sound->format, AL_FORMAT_MONO16);

    std::vector<std::int16_t> samples(3 * TONE_FRAMES);
    EXPECT_EQ(sound->read(samples.data(), samples.size()), static_cast<std::size_t>(TONE_FRAMES));
    EXPECT_EQ(sound->read(samples.data(), samples.size()), 0u);
}

TEST_F(SoundTest, LoopingStreamRewindsWithinOneRead)
{
    const auto sound = open(sound::DEFAULT);
    ASSERT_TRUE(sound);
    ASSERT_EQ(sound->setMode(sound::LOOP_NORMAL), sound::OK);

    const std::size_t frames = 3 * TONE_FRAMES + 123;
    std::vector<std::int16_t> samples(frames);
    ASSERT_EQ(sound->read(samples.data(), frames), frames);
    // Every pass through the file decodes the same samples, one after the other.
    int differing = 0;
    for (std::size_t i = 0; i < TONE_FRAMES; ++i) {
        differing += samples[i + TONE_FRAMES] != samples[i] || samples[i + 2 * TONE_FRAMES] != samples[i];
    }
    EXPECT_EQ(differing, 0);
    // And the tone runs across each seam without a silent stretch.
    const std::size_t seam = TONE_FRAMES;
    double energy = 0.0;
    for (std::size_t i = seam - 20; i < seam + 20; ++i) {
        energy += std::abs(samples[i]);
    }
    EXPECT_GT(energy / 40.0, 0.3 * 32767.0 * 0.5);
}

TEST_F(SoundTest, MissingAndUndecodableFilesAreRefused)
{
    std::unique_ptr<sound::Sound> sound;
    EXPECT_EQ(sound::Sound::open((dir.path + "/none.mp3").c_str(), sound::DEFAULT, sound), sound::ERR_FILE_NOTFOUND);
    EXPECT_FALSE(sound);

    const std::string text = dir.path + "/text.mp3";
    writeFile(text, std::string(5000, 'x'));
    EXPECT_EQ(sound::Sound::open(text.c_str(), sound::DEFAULT, sound), sound::ERR_FORMAT);
    EXPECT_FALSE(sound);
}
