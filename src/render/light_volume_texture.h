// The baked light volume on the GPU: its two shares as 3D textures on texture
// units of their own, and the box the lit pass maps world positions into.
#pragma once

#include "render/light_volume.h"

#include <GL/glew.h>

#include <string>

constexpr int LIGHT_AMBIENT_UNIT = 60;
constexpr int LIGHT_LOCAL_UNIT = 61;

class LightVolumeTexture {
public:
    // Loads the bake; a file that is missing or damaged is reported on one line
    // and replaced by an even, dim light, so the room is still drawn.
    explicit LightVolumeTexture(const std::string& path);
    ~LightVolumeTexture();
    LightVolumeTexture(const LightVolumeTexture&) = delete;
    LightVolumeTexture& operator=(const LightVolumeTexture&) = delete;

    void bind() const;

    GLuint ambient = 0;
    GLuint local = 0;
    glm::vec3 boxLow{0.0f};
    glm::vec3 boxHigh{1.0f};
};

// The volume that stands in for a bake that could not be read.
LightVolume evenLightVolume();
