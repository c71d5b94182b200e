// The two generated sounds decode as the program expects and loop without a seam.
#include "decoded_sound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

struct SoundCase {
    const char* path;
    double minSeconds;
    double maxSeconds;
};

const SoundCase sounds[] = {
    {"Assets/sound/Talvek - Nocturne op.9 No.2.mp3", 60.0, 120.0},
    {"Assets/sound/fireplace.mp3", 10.0, 30.0},
};

double rms(const std::vector<float>& samples, std::size_t first, std::size_t count)
{
    double sum = 0.0;
    for (std::size_t i = 0; i < count; ++i) {
        const float value = samples[(first + i) % samples.size()];
        sum += static_cast<double>(value) * value;
    }
    return std::sqrt(sum / static_cast<double>(count));
}

double quantile(std::vector<double> values, double q)
{
    const std::size_t at = static_cast<std::size_t>(q * static_cast<double>(values.size() - 1));
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(at), values.end());
    return values[at];
}

// Loudness change between the 10 ms before and after frame `at` of the looped
// stream, as the magnitude of the log ratio.
double energyJump(const std::vector<float>& samples, std::size_t at, std::size_t window)
{
    const std::size_t before = (at + samples.size() - window) % samples.size();
    const double floor = 1e-4;
    return std::fabs(std::log((rms(samples, before, window) + floor) / (rms(samples, at, window) + floor)));
}

// The wrap from the last frame to the first must look like any other moment of the
// stream: a sample step and a loudness change no bigger than nearly all inside it.
void expectSeamless(const std::vector<float>& samples, const std::string& name)
{
    std::vector<double> steps;
    steps.reserve(samples.size());
    for (std::size_t i = 1; i < samples.size(); ++i)
        steps.push_back(std::fabs(samples[i] - samples[i - 1]));
    const double wrapStep = std::fabs(samples.front() - samples.back());
    EXPECT_LE(wrapStep, quantile(steps, 0.999) + 1e-3) << name << ": a click at the loop point";

    const std::size_t window = 441;
    std::vector<double> jumps;
    for (std::size_t at = window; at + window < samples.size(); at += window)
        jumps.push_back(energyJump(samples, at, window));
    EXPECT_LE(energyJump(samples, 0, window), quantile(jumps, 0.99) + 0.05)
        << name << ": loudness jumps at the loop point";
}

TEST(GeneratedSounds, DecodeAsStereo44100WithinTheirLengths)
{
    for (const SoundCase& sound : sounds) {
        const DecodedSound decoded = decodeMp3(sound.path);
        ASSERT_EQ(decoded.rate, 44100) << sound.path;
        EXPECT_EQ(decoded.channels, 2) << sound.path;
        EXPECT_GE(decoded.seconds(), sound.minSeconds) << sound.path;
        EXPECT_LE(decoded.seconds(), sound.maxSeconds) << sound.path;
        EXPECT_GT(rms(decoded.left, 0, decoded.left.size()), 0.03) << sound.path;
        EXPECT_GT(rms(decoded.right, 0, decoded.right.size()), 0.03) << sound.path;
    }
}

TEST(GeneratedSounds, LoopWithoutClickOrGap)
{
    for (const SoundCase& sound : sounds) {
        const DecodedSound decoded = decodeMp3(sound.path);
        ASSERT_GT(decoded.left.size(), 44100u) << sound.path;
        expectSeamless(decoded.left, std::string(sound.path) + " left");
        expectSeamless(decoded.right, std::string(sound.path) + " right");
    }
}

// The checks above must be able to fail: a stream whose loop drops into silence,
// as an undecoded encoder delay would, is caught.
TEST(GeneratedSounds, SeamCheckCatchesAGapAtTheLoopPoint)
{
    DecodedSound decoded = decodeMp3(sounds[1].path);
    ASSERT_GT(decoded.left.size(), 44100u);
    std::fill(decoded.left.begin(), decoded.left.begin() + 1105, 0.0f);
    EXPECT_GT(energyJump(decoded.left, 0, 441), 2.0);
}

} // namespace
