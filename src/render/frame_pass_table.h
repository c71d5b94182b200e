// The frame's timed passes in the order a frame runs them, each with the name its
// GPU timer query carries and the column of its time in the replay tool's
// per-frame statistics. A new pass is one enumerator and one row.
#pragma once

#include <iterator>

enum class FramePass { DirectionalShadow, PointShadow, Main, Sky, Particles };

struct FramePassRow {
    FramePass pass;
    const char* label;
    const char* statsColumn;
};

inline constexpr FramePassRow FRAME_PASSES[] = {
    {FramePass::DirectionalShadow, "directional shadow", "gpu_dir_shadow_ms"},
    {FramePass::PointShadow, "point shadow", "gpu_point_shadow_ms"},
    {FramePass::Main, "main", "gpu_main_ms"},
    {FramePass::Sky, "sky", "gpu_sky_ms"},
    {FramePass::Particles, "particles", "gpu_particles_ms"},
};

constexpr int FRAME_PASS_COUNT = static_cast<int>(std::size(FRAME_PASSES));

// A pass's row is found by its value, so every row must stand at its pass's index.
constexpr bool rowsFollowThePasses()
{
    for (int index = 0; index < FRAME_PASS_COUNT; ++index)
        if (static_cast<int>(FRAME_PASSES[index].pass) != index)
            return false;
    return true;
}
static_assert(rowsFollowThePasses());
