// Sample buffers for the generated sounds. Every sound is built as one period of
// a loop: anything that rings past the end wraps round to the start, so the
// decoded file repeats without a seam.
#pragma once

#include <cstddef>
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

// Scales both channels together so the loudest sample reaches `peak`.
void normaliseLoop(StereoLoop& loop, float peak);

// Filters `samples` in place with a recursive filter run as if the loop repeated
// for ever: one warm-up lap settles the filter state, the second lap is kept.
// `step(input)` returns the filter's next output.
template <typename Filter>
void filterLooped(std::vector<float>& samples, Filter step)
{
    for (const float value : samples)
        step(value);
    for (float& value : samples)
        value = step(value);
}
