// Finding a target by its size, in the order of their last use.
#include "render/scaled_target_set.h"

#include <algorithm>

ScaledTarget& ScaledTargetSet::forSize(int width, int height)
{
    auto found = std::find_if(targets.begin(), targets.end(), [&](const std::unique_ptr<ScaledTarget>& target) {
        return target->width == width && target->height == height;
    });
    std::unique_ptr<ScaledTarget> target;
    if (found != targets.end()) {
        target = std::move(*found);
        targets.erase(found);
    } else {
        target = std::make_unique<ScaledTarget>();
        if (targets.size() == CAPACITY)
            targets.erase(targets.begin());
    }
    targets.push_back(std::move(target));
    return *targets.back();
}
