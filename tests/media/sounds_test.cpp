// The two generated sounds are long, loop without a seam and never repeat
// themselves, so that they can be left playing for an hour.
#include "decoded_sound.h"
#include "stretch_correlation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr std::size_t rate = 44100;
constexpr std::size_t stretch = 10 * rate;   // the stretches compared for repetition
constexpr std::size_t hop = 5 * rate;
constexpr std::size_t decimation = 32;

struct SoundCase {
    const char* path;
    double minSeconds;
    double quietestDb;   // the whole file's RMS level, dBFS
    double loudestDb;
};

// The music at -18.6 dBFS within 3 dB, the level the program's mix is balanced
// for; the fire some decibels under it.
const SoundCase sounds[] = {
    {"Assets/sound/Talvek - Nocturne op.9 No.2.mp3", 240.0, -21.6, -15.6},
    {"Assets/sound/fireplace.mp3", 180.0, -27.0, -22.0},
};

double decibels(double value) { return 20.0 * std::log10(std::max(value, 1e-12)); }

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
double energyJump(const std::vector<float>& samples, std::size_t at)
{
    const std::size_t window = rate / 100;
    const std::size_t before = (at + samples.size() - window) % samples.size();
    const double floor = 1e-4;
    return std::fabs(std::log((rms(samples, before, window) + floor) / (rms(samples, at, window) + floor)));
}

// The longest run of frames under -60 dBFS in both channels within a second
// either side of the join, the file played twice in a row.
std::size_t longestQuietRunAtJoin(const DecodedSound& sound)
{
    const std::size_t frames = sound.left.size();
    std::size_t longest = 0;
    std::size_t run = 0;
    for (std::size_t k = frames - rate; k < frames + rate; ++k) {
        const std::size_t i = k % frames;
        const bool quiet = std::fabs(sound.left[i]) < 1e-3f && std::fabs(sound.right[i]) < 1e-3f;
        run = quiet ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

// The join from the last frame to the first must look like any other moment:
// no sample step larger than the largest inside, no loudness change beyond
// nearly all inside.
void expectSeamless(const std::vector<float>& samples, const std::string& name)
{
    double largestStep = 0.0;
    for (std::size_t i = 1; i < samples.size(); ++i)
        largestStep = std::max(largestStep, static_cast<double>(std::fabs(samples[i] - samples[i - 1])));
    EXPECT_LE(std::fabs(samples.front() - samples.back()), largestStep) << name << ": a click at the loop point";

    std::vector<double> jumps;
    for (std::size_t at = rate / 100; at + rate / 100 < samples.size(); at += rate / 100)
        jumps.push_back(energyJump(samples, at));
    EXPECT_LE(energyJump(samples, 0), quantile(jumps, 0.99) + 0.05) << name << ": loudness jumps at the loop point";
}

TEST(GeneratedSounds, LastLongLoopSeamlesslyAndNeverRepeat)
{
    for (const SoundCase& sound : sounds) {
        const DecodedSound decoded = decodeMp3(sound.path);
        ASSERT_EQ(decoded.rate, 44100) << sound.path;
        ASSERT_EQ(decoded.channels, 2) << sound.path;
        EXPECT_GE(decoded.seconds(), sound.minSeconds) << sound.path;

        const double level = decibels(std::hypot(rms(decoded.left, 0, decoded.left.size()),
                                                 rms(decoded.right, 0, decoded.right.size())) / std::sqrt(2.0));
        EXPECT_GE(level, sound.quietestDb) << sound.path;
        EXPECT_LE(level, sound.loudestDb) << sound.path;
        float peak = 0.0f;
        for (std::size_t i = 0; i < decoded.left.size(); ++i)
            peak = std::max({peak, std::fabs(decoded.left[i]), std::fabs(decoded.right[i])});
        EXPECT_LT(decibels(peak), -1.0) << sound.path;

        expectSeamless(decoded.left, std::string(sound.path) + " left");
        expectSeamless(decoded.right, std::string(sound.path) + " right");
        EXPECT_LE(longestQuietRunAtJoin(decoded), rate / 50) << sound.path << ": silence at the loop point";

        EXPECT_LT(highestStretchCorrelation(decoded.left, decoded.right, stretch, hop, decimation), 0.8)
            << sound.path << ": one stretch repeats another";
    }
}

// The checks above can fail: a stretch copied over another, and a loop that
// drops into silence (as an undecoded encoder delay would), are both caught.
TEST(GeneratedSounds, ChecksCatchACopiedStretchAndAGapAtTheLoopPoint)
{
    DecodedSound decoded = decodeMp3(sounds[1].path);
    ASSERT_GT(decoded.left.size(), 120 * rate);
    for (std::vector<float>* channel : {&decoded.left, &decoded.right})
        std::copy_n(channel->begin() + 20 * rate, 12 * rate, channel->begin() + 100 * rate);
    EXPECT_GT(highestStretchCorrelation(decoded.left, decoded.right, stretch, hop, decimation), 0.95);

    for (std::vector<float>* channel : {&decoded.left, &decoded.right})
        std::fill_n(channel->begin(), 1105, 0.0f);
    EXPECT_GT(longestQuietRunAtJoin(decoded), rate / 50);
    EXPECT_GT(energyJump(decoded.left, 0), 2.0);
}

} // namespace
