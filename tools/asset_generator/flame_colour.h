// The fire's colour ramp, shared by the flame atlas and the program's icon so
// that both burn in the same colours.
#pragma once

#include <glm/vec3.hpp>

// Heat 0..1 to flame colour: black, deep red, orange, yellow, a pale core.
glm::vec3 flameColour(float heat);
