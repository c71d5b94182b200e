// The render scale policy on made-up frame times: machines whose frames answer
// the scale as a real one would, and sequences that do not answer it at all.
#include "render/scale_governor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

// The delta of frame `index` when it is drawn at `scale`, in seconds.
using FrameTimes = std::function<double(int index, float scale)>;

// A frame whose scene part shrinks with the pixel count and whose rest does not.
FrameTimes machine(double fixedMs, double sceneMs)
{
    return [=](int, float scale) { return (fixedMs + sceneMs * scale * scale) / 1000.0; };
}

FrameTimes steady(double ms)
{
    return [=](int, float) { return ms / 1000.0; };
}

struct Governed {
    float finalScale = 1.0f;
    float lowest = 1.0f;
    int changes = 0;
};

Governed govern(const FrameTimes& times, int frames)
{
    ScaleGovernor governor;
    Governed run;
    float scale = governor.scale();
    for (int index = 0; index < frames; ++index) {
        const float next = governor.addFrame(times(index, scale));
        run.changes += next != scale ? 1 : 0;
        scale = next;
        run.lowest = std::min(run.lowest, scale);
    }
    run.finalScale = scale;
    return run;
}

} // namespace

TEST(ScaleGovernor, SettlesWhereFramesFitWithoutFlipping)
{
    struct Case {
        const char* what;
        FrameTimes times;
        int frames;
        float finalScale;
        int maxChanges;
    };
    const Case cases[] = {
        {"a fast machine stays at full size", steady(40.0), 300, 1.0f, 0},
        {"frames just under the budget stay at full size", steady(72.0), 300, 1.0f, 0},
        {"one long frame among fast ones is ignored",
         [](int index, float) { return index == 50 ? 2.0 : 0.060; }, 300, 1.0f, 0},
        // 130 ms at full size: straight down to where the pixels would fit, one
        // tenth more since the fixed part does not shrink, then it stays.
        {"a steadily slow machine settles below full size", machine(30.0, 100.0), 400, 0.6f, 2},
        {"frames that never get faster stop at the floor", steady(300.0), 400, 0.5f, 2},
        {"a machine that becomes fast again comes back to full size",
         [](int index, float scale) { return index < 100 ? 0.125 : (5.0 + 20.0 * scale * scale) / 1000.0; }, 800,
         1.0f, 7},
        // A median of 85 ms at full size; at 0.9 the median fits, but the slow
        // half grown back to full size would not.
        {"alternating fast and slow frames step down once and stay",
         [](int index, float scale) { return (5.0 + (index % 2 == 0 ? 50.0 : 110.0) * scale * scale) / 1000.0; },
         600, 0.9f, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Governed run = govern(c.times, c.frames);
        EXPECT_FLOAT_EQ(run.finalScale, c.finalScale);
        EXPECT_LE(run.changes, c.maxChanges);
        EXPECT_GE(run.lowest, FLOOR_SCALE_TENTHS / 10.0f);
    }
}
