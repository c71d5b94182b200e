// The fire's colour ramp: piecewise blends between four hand-picked colours.
#include "flame_colour.h"

#include <glm/common.hpp>

glm::vec3 flameColour(float heat)
{
    const glm::vec3 red(0.55f, 0.06f, 0.01f), orange(1.0f, 0.42f, 0.05f);
    const glm::vec3 yellow(1.0f, 0.78f, 0.28f), core(1.0f, 0.95f, 0.80f);
    if (heat < 0.3f)
        return red * (heat / 0.3f);
    if (heat < 0.6f)
        return glm::mix(red, orange, (heat - 0.3f) / 0.3f);
    if (heat < 0.85f)
        return glm::mix(orange, yellow, (heat - 0.6f) / 0.25f);
    return glm::mix(yellow, core, (heat - 0.85f) / 0.15f);
}
