// The colour material of a mesh, read from the model file.
#pragma once

#include <glm/glm.hpp>

#include <string>

struct MeshMaterial {
    std::string name;
    glm::vec3 ambient{0.0f}; // already scaled down by the import
    glm::vec3 diffuse{0.0f};
    glm::vec3 specular{0.0f};
    float shininess = -1.0f; // -1: the record holds no material, draws leave the uniforms alone
};
