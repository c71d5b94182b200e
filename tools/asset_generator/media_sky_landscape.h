// The icy landscape around the scene, as a colour for every world direction:
// frozen flats below the horizon, a ring of distant mountains on it, a pale winter
// sky above with a low sun towards -x (where the sun light comes from).
#pragma once

#include <glm/vec3.hpp>

// The painted sun's elevation above the horizon, in degrees.
inline constexpr float skySunElevationDegrees = 12.0f;

glm::vec3 skySunDirection();

// Linear 0..1 colour seen along `direction` (world space, need not be normalised).
glm::vec3 skyLandscapeColour(const glm::vec3& direction);
