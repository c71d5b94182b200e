// The interleaved 32-byte vertex record shared by meshes, boxes and the import.
#pragma once

#include <glm/glm.hpp>

#include <cstddef>

struct Vertex {
    glm::vec3 position;
    glm::vec3 normal;
    glm::vec2 texCoords;
};

static_assert(sizeof(Vertex) == 32, "Vertex must be 32 bytes, interleaved without padding");
static_assert(offsetof(Vertex, normal) == 12 && offsetof(Vertex, texCoords) == 24, "attribute offsets");
