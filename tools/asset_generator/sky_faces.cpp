// The six sky faces. Every texel is painted from the world direction it is seen
// in on screen, which folds in the three turns the program applies to the faces:
//  - the loader uploads face i to GL face +X, -X, +Y, -Y, +Z, -Z in the order
//    rt, lf, dn, up, bk, ft ("dn" on +Y, "up" on -Y);
//  - FreeImage hands rows over bottom row first, so the image's top row lands at
//    GL t = 1 and image column c at s = (c + 0.5) / size;
//  - the sky shader samples with the sphere's local position, and the sphere is
//    turned by pi about z, so local (x, y, z) is seen in world direction (-x, -y, z).
#include "generators.h"
#include "written_file.h"
#include "media_sky_landscape.h"

#include <glm/vec3.hpp>

#include <stb_image_write.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace {

constexpr int faceSize = 512;
constexpr int jpegQuality = 95;

// In GL face order +X, -X, +Y, -Y, +Z, -Z.
const char* const faceFiles[6] = {
    "iceflats_rt.jpg", "iceflats_lf.jpg", "iceflats_dn.jpg",
    "iceflats_up.jpg", "iceflats_bk.jpg", "iceflats_ft.jpg",
};

// The cube-map lookup direction that selects face coordinates (sc, tc) in -1..1,
// inverted from the GL face table (major axis, sc, tc per face).
glm::vec3 lookupDirection(int face, float sc, float tc)
{
    switch (face) {
    case 0: return {1.0f, -tc, -sc};
    case 1: return {-1.0f, -tc, sc};
    case 2: return {sc, 1.0f, tc};
    case 3: return {sc, -1.0f, -tc};
    case 4: return {sc, -tc, 1.0f};
    default: return {-sc, -tc, -1.0f};
    }
}

// World direction of the image texel at column `column`, row `row` counted from the top.
glm::vec3 texelWorldDirection(int face, int column, int row)
{
    const float s = (static_cast<float>(column) + 0.5f) / faceSize;
    const float t = 1.0f - (static_cast<float>(row) + 0.5f) / faceSize;
    const glm::vec3 local = lookupDirection(face, 2.0f * s - 1.0f, 2.0f * t - 1.0f);
    return {-local.x, -local.y, local.z};
}

std::uint8_t toByte(float value)
{
    return static_cast<std::uint8_t>(std::lround(std::fmin(std::fmax(value, 0.0f), 1.0f) * 255.0f));
}

void writeFace(const std::filesystem::path& directory, int face)
{
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(faceSize) * faceSize * 3);
    for (int row = 0; row < faceSize; ++row) {
        for (int column = 0; column < faceSize; ++column) {
            const glm::vec3 colour = skyLandscapeColour(texelWorldDirection(face, column, row));
            std::uint8_t* texel = &rgb[(static_cast<std::size_t>(row) * faceSize + column) * 3];
            texel[0] = toByte(colour.r);
            texel[1] = toByte(colour.g);
            texel[2] = toByte(colour.b);
        }
    }
    const std::string path = (directory / faceFiles[face]).string();
    requireWritten(stbi_write_jpg(path.c_str(), faceSize, faceSize, 3, rgb.data(), jpegQuality) != 0, path);
}

} // namespace

void writeSkyFaces(const std::string& assets)
{
    const std::filesystem::path directory = std::filesystem::path(assets) / "skybox";
    std::filesystem::create_directories(directory);
    for (int face = 0; face < 6; ++face)
        writeFace(directory, face);
}
