// Shared operations on loop buffers. The limiter's gain is worked out for every
// frame first: only frames near a peak turn it down, so it costs little more
// than one pass however long the loop.
#include "media_audio.h"

#include <algorithm>
#include <cmath>

void setLoopLevel(StereoLoop& loop, double rms)
{
    double sum = 0.0;
    for (std::size_t i = 0; i < loop.frames(); ++i)
        sum += static_cast<double>(loop.left[i]) * loop.left[i] + static_cast<double>(loop.right[i]) * loop.right[i];
    const double current = std::sqrt(sum / (2.0 * static_cast<double>(loop.frames())));
    if (current <= 0.0)
        return;
    const float gain = static_cast<float>(rms / current);
    for (std::size_t i = 0; i < loop.frames(); ++i) {
        loop.left[i] *= gain;
        loop.right[i] *= gain;
    }
}

void limitLoopPeaks(StereoLoop& loop, float ceiling)
{
    const std::size_t frames = loop.frames();
    const std::size_t ahead = static_cast<std::size_t>(0.0015 * audioSampleRate);
    const float release = static_cast<float>(1.0 - std::exp(-1.0 / (0.1 * audioSampleRate)));

    // Every frame within `ahead` before a peak needs at least that peak's gain.
    std::vector<float> gain(frames, 1.0f);
    for (std::size_t i = 0; i < frames; ++i) {
        const float peak = std::max(std::fabs(loop.left[i]), std::fabs(loop.right[i]));
        if (peak <= ceiling)
            continue;
        for (std::size_t back = 0; back < ahead; ++back) {
            float& needed = gain[(i + frames - back) % frames];
            needed = std::min(needed, ceiling / peak);
        }
    }
    // The gain drops at once and recovers slowly; the recovery runs a lap ahead
    // so that it crosses the loop's end as it would when the loop repeats.
    float held = 1.0f;
    for (const float needed : gain)
        held = std::min(needed, held + release * (1.0f - held));
    for (float& needed : gain)
        needed = held = std::min(needed, held + release * (1.0f - held));
    // A moving average over `ahead` frames smooths each drop into a ramp that
    // still reaches the peak's gain by the peak itself.
    double sum = 0.0;
    for (std::size_t back = 1; back <= ahead; ++back)
        sum += gain[frames - back];
    for (std::size_t i = 0; i < frames; ++i) {
        sum += gain[i] - gain[(i + frames - ahead) % frames];
        const float smooth = static_cast<float>(sum / static_cast<double>(ahead));
        loop.left[i] *= smooth;
        loop.right[i] *= smooth;
    }
}
