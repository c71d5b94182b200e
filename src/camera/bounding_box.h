// Axis-aligned box of a mesh (or of the whole room) with its eight corners in
// box space and, after transform(), in world space.
#pragma once

#include <glm/glm.hpp>

#include <vector>

struct Vertex;

class BoundingBox {
public:
    void fitToVertices(const std::vector<Vertex>& vertices);
    void transform(const glm::mat4& m);

    glm::vec3 minCorner{0.0f};
    glm::vec3 extents{0.0f};
    glm::vec3 worldCorners[8] = {};
    glm::vec3 localCorners[8] = {};
    glm::mat4 matrix{1.0f};
};
