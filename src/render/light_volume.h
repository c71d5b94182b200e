// The room's baked light: an irradiance volume over the room's inside, made by
// the asset generator and read by the lit pass with one trilinear lookup per
// share at the surface point pushed out along its normal. Each texel holds two
// RGBA values in half floats:
//   ambient  rgb: sky through the windows and the sun's bounce, dimmed with the
//                 sky at sunset;  a: the fire's bounce, scaled by its flicker
//   local    rgb: the candles and the fairy lights, direct and bounced;
//                 a: the fire's direct light with its occlusion, without the
//                 surface's cosine (the lit pass applies it)
// Values are radiances in the lit pass's own units: a surface of albedo a in a
// texel of value E shows a * E before tone mapping. The file is little-endian:
// "FLV1", width, height, depth (uint32), the box's low and high corners (6
// floats, world units), then the ambient texels and the local texels, x fastest.
#pragma once

#include <cstdint>
#include <glm/glm.hpp>
#include <string>
#include <vector>

constexpr const char* LIGHT_VOLUME_FILE = "Assets/scene/room-light.bake";

class LightVolume {
public:
    glm::ivec3 size{0};
    glm::vec3 boxLow{0.0f};
    glm::vec3 boxHigh{0.0f};
    std::vector<uint16_t> ambient; // 4 half floats a texel
    std::vector<uint16_t> local;   // 4 half floats a texel

    size_t texelCount() const;
    // The centre of texel (x, y, z), in world units.
    glm::vec3 texelCentre(const glm::ivec3& texel) const;
};

// Writes the volume; false when the file cannot be written whole.
bool writeLightVolume(const std::string& path, const LightVolume& volume);

// Reads a volume; on failure returns false and puts what is wrong into `error`.
bool readLightVolume(const std::string& path, LightVolume& volume, std::string& error);
