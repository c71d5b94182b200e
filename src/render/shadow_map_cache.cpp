// The shadow maps' record of what they were drawn from.
#include "render/shadow_map_cache.h"

#include <utility>

bool ShadowMapCache::needsDraw(ShadowMapInputs inputs, bool always)
{
    if (!always && drawnFrom == inputs)
        return false;
    drawnFrom = std::move(inputs);
    return true;
}
