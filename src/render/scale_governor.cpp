// The scale policy. The camera stands still on any frame over 0.1 s, so frames
// are kept well under that. A decision looks at the median of a window of recent
// frames, never at one frame, and waits a hold time after each change; the scale
// goes up only when the slow end of the window, grown to the larger pixel count,
// would still fit with room to spare, so that alternating frames cannot flip it.
#include "render/scale_governor.h"

#include "platform/median.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// A median frame of 70-75 ms kept the flight's pace on llvmpipe at two cores,
// at full size and scaled alike: its slow tail stays under the 0.1 s.
constexpr double BUDGET_SECONDS = 0.075;
constexpr double HEADROOM = 0.85;         // of the budget, for a step up
constexpr double HOLD_SECONDS = 1.0;      // after a change, before the next
constexpr std::size_t WINDOW_FRAMES = 10;
// The share of a frame that grows with the scene's pixel count; the rest (the
// update, vertex work, the swap) measured about 40 % of a full-size frame. Even
// where the whole frame grows with the pixels, a step up allowed under the
// headroom lands within the budget: at worst, from 0.5 to 0.6, at
// 0.85 x 1.44 / 1.264 = 0.97 of it.
constexpr double SCALING_SHARE = 0.6;

// The value at or below which `share` of the values lie, picked, not interpolated.
double quantile(std::vector<double> values, double share)
{
    std::sort(values.begin(), values.end());
    const std::size_t index = static_cast<std::size_t>(std::ceil(share * values.size())) - 1;
    return values[index];
}

// A frame at `fromTenths` grown to `toTenths`: its pixel count goes with the
// square of the scale.
double predictedFrame(double seconds, int fromTenths, int toTenths)
{
    const double ratio = static_cast<double>(toTenths) / fromTenths;
    return seconds * (1.0 + SCALING_SHARE * (ratio * ratio - 1.0));
}

int nextTenths(int tenths, const std::vector<double>& window)
{
    const double typical = median(window);
    if (typical > BUDGET_SECONDS) {
        // Straight to the scale whose pixel count would fit, one tenth at least.
        const int fitting = static_cast<int>(std::floor(tenths * std::sqrt(BUDGET_SECONDS / typical)));
        return std::max(FLOOR_SCALE_TENTHS, std::min(tenths - 1, fitting));
    }
    if (tenths == FULL_SCALE_TENTHS)
        return tenths;
    const double slow = quantile(window, 0.75);
    return predictedFrame(slow, tenths, tenths + 1) < HEADROOM * BUDGET_SECONDS ? tenths + 1 : tenths;
}

} // namespace

float ScaleGovernor::addFrame(double seconds)
{
    recent.push_back(seconds);
    if (recent.size() > WINDOW_FRAMES)
        recent.pop_front();
    sinceChange += seconds;
    if (recent.size() < WINDOW_FRAMES || sinceChange < HOLD_SECONDS)
        return scale();

    const int next = nextTenths(tenths, {recent.begin(), recent.end()});
    if (next != tenths) {
        tenths = next;
        recent.clear();
        sinceChange = 0.0;
    }
    return scale();
}

float ScaleGovernor::scale() const
{
    return static_cast<float>(tenths) / FULL_SCALE_TENTHS;
}
