// The light bake: traces the generated room with Embree and writes the light
// that reaches each cell of a volume over the room's inside (see
// render/light_volume.h for what the volume holds).
#pragma once

#include "render/light_volume.h"
#include "scene_mesh.h"

#include <glm/glm.hpp>

#include <string>
#include <vector>

struct BakeSettings {
    glm::vec3 boxLow{0.0f};
    glm::vec3 boxHigh{0.0f};
    float cellSize = 4.0f; // world units
    int raysPerCell = 64;
};

// The room's inside at about 8 cm a cell.
BakeSettings roomBakeSettings();

// Bakes the light of `meshes`, whose textures lie in `textureDir`. The same
// input gives the same bytes, however the work is spread over threads.
LightVolume bakeLight(const std::vector<SceneMesh>& meshes, const std::string& textureDir,
                      const BakeSettings& settings);
