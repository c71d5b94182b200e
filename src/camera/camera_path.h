// The camera route: the Bezier control points read once from the route file, and
// the progress of the flight along them.
#pragma once

#include "layout/scene_layout.h"

#include <glm/glm.hpp>

// Each segment's start anchor and two handles, and the last segment's end anchor.
constexpr int PATH_CAPACITY = 3 * layout::ROUTE_SEGMENTS + 1;
constexpr float PATH_SCALE = 0.5f;

struct CameraPath {
    glm::vec3 points[PATH_CAPACITY] = {};
    int pointCount = PATH_CAPACITY;
    glm::vec3 segment[4] = {};
    int segmentEnd = 3;
    float t = 0.0f;
    bool finished = false;
    glm::vec3 savedPosition{0.0f};
    glm::vec3 savedFront{0.0f};
};
