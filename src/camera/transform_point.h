// A point moved by a matrix as the bounding boxes need it: M x (p, 1) with w
// dropped, not divided by (the scene's matrices are affine, so w stays 1).
#pragma once

#include <glm/glm.hpp>

inline glm::vec3 transformPoint(const glm::mat4& m, const glm::vec3& p)
{
    return glm::vec3(m * glm::vec4(p, 1.0f));
}
