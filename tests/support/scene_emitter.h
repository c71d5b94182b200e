// The scene's own emitter rows by kind, for tests that need realistic settings.
#pragma once

#include "layout/scene_layout.h"

#include <stdexcept>

// The first row of the scene's emitter table of this kind.
inline const EmitterSettings& sceneEmitter(EmitterKind kind)
{
    for (const EmitterSettings& row : layout::EMITTERS)
        if (row.kind == kind)
            return row;
    throw std::logic_error("the scene has no emitter of this kind");
}
