// Shared operations on loop buffers.
#include "media_audio.h"

#include <algorithm>
#include <cmath>

void normaliseLoop(StereoLoop& loop, float peak)
{
    float loudest = 0.0f;
    for (std::size_t i = 0; i < loop.frames(); ++i)
        loudest = std::max({loudest, std::fabs(loop.left[i]), std::fabs(loop.right[i])});
    if (loudest <= 0.0f)
        return;
    const float gain = peak / loudest;
    for (std::size_t i = 0; i < loop.frames(); ++i) {
        loop.left[i] *= gain;
        loop.right[i] *= gain;
    }
}
