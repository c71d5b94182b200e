// The program's view of the sky faces, rebuilt on the CPU: faces decoded by the
// loader's own FreeImage path (rows bottom first), the GL cube-map face selection,
// and the half turn of the sky sphere, so a world direction yields the colour the
// sky shows there.
#pragma once

#include "render/image_file.h"

#include <glm/vec3.hpp>

#include <memory>
#include <string>

class SkyCubeLookup {
public:
    // `directory` holds the six iceflats faces.
    explicit SkyCubeLookup(const std::string& directory);

    // Colour (0..1) of the nearest texel the sky shows in world direction `world`.
    glm::vec3 sample(const glm::vec3& world) const;

    std::unique_ptr<ImageFile> faces[6]; // GL face order +X, -X, +Y, -Y, +Z, -Z
};
