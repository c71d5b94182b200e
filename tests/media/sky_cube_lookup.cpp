// CPU replica of the sky lookup: world direction -> sphere-local direction -> GL face.
#include "sky_cube_lookup.h"

#include <algorithm>
#include <cmath>

namespace {

// The loader's face files in GL face order.
const char* const faceFiles[6] = {
    "iceflats_rt.jpg", "iceflats_lf.jpg", "iceflats_dn.jpg",
    "iceflats_up.jpg", "iceflats_bk.jpg", "iceflats_ft.jpg",
};

struct FaceCoordinate {
    int face;
    float s;
    float t;
};

// The GL cube-map rule: the major axis picks the face, sc/tc per face from the GL table.
FaceCoordinate selectFace(const glm::vec3& r)
{
    const float ax = std::fabs(r.x), ay = std::fabs(r.y), az = std::fabs(r.z);
    int face;
    float sc, tc, ma;
    if (ax >= ay && ax >= az) {
        ma = ax;
        if (r.x > 0) { face = 0; sc = -r.z; tc = -r.y; }
        else         { face = 1; sc = r.z;  tc = -r.y; }
    } else if (ay >= az) {
        ma = ay;
        if (r.y > 0) { face = 2; sc = r.x; tc = r.z; }
        else         { face = 3; sc = r.x; tc = -r.z; }
    } else {
        ma = az;
        if (r.z > 0) { face = 4; sc = r.x;  tc = -r.y; }
        else         { face = 5; sc = -r.x; tc = -r.y; }
    }
    return {face, 0.5f * (sc / ma + 1.0f), 0.5f * (tc / ma + 1.0f)};
}

} // namespace

SkyCubeLookup::SkyCubeLookup(const std::string& directory)
{
    for (int face = 0; face < 6; ++face)
        faces[face] = std::make_unique<ImageFile>(directory + "/" + faceFiles[face]);
}

glm::vec3 SkyCubeLookup::sample(const glm::vec3& world) const
{
    // The sky sphere is turned by pi about z: world (x, y, z) is local (-x, -y, z).
    const FaceCoordinate at = selectFace(glm::vec3(-world.x, -world.y, world.z));
    const ImageFile& image = *faces[at.face];
    const int column = std::clamp(static_cast<int>(at.s * image.width), 0, static_cast<int>(image.width) - 1);
    // GL row 0 is the first row uploaded, which is FreeImage's first row in memory.
    const int row = std::clamp(static_cast<int>(at.t * image.height), 0, static_cast<int>(image.height) - 1);
    const unsigned char* bgra = image.pixels + (static_cast<std::size_t>(row) * image.width + column) * 4;
    return glm::vec3(bgra[2], bgra[1], bgra[0]) / 255.0f;
}
