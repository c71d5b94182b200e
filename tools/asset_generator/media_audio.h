// Sample buffers for the generated sounds. Every sound is built as one period of
// a loop: anything that rings past the end wraps round to the start, so the
// decoded file repeats without a seam.
#pragma once

#include <cmath>
#include <cstddef>
#include <numbers>
#include <vector>

inline constexpr int audioSampleRate = 44100;

struct StereoLoop {
    explicit StereoLoop(std::size_t frames) : left(frames, 0.0f), right(frames, 0.0f) {}
    std::size_t frames() const { return left.size(); }

    // Adds `value` at frame `index` of the loop, wrapping past the end.
    void add(std::size_t index, float leftValue, float rightValue)
    {
        const std::size_t at = index % left.size();
        left[at] += leftValue;
        right[at] += rightValue;
    }

    std::vector<float> left;
    std::vector<float> right;
};

// Scales both channels together to the RMS level `rms` (of full scale 1).
void setLoopLevel(StereoLoop& loop, double rms);

// Turns the gain down round the few samples that would pass `ceiling`, so that
// none does: the gain falls over a millisecond and a half ahead of the peak and
// comes back within a tenth of a second, round the loop's end as anywhere.
void limitLoopPeaks(StereoLoop& loop, float ceiling);

// One-pole low pass with the given corner frequency.
struct LowPass {
    explicit LowPass(double hertz)
        : share(static_cast<float>(1.0 - std::exp(-2.0 * std::numbers::pi * hertz / audioSampleRate))) {}
    float operator()(float input) { return state += share * (input - state); }
    float share;
    float state = 0.0f;
};
