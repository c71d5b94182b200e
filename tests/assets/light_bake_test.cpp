// The light bake on a small room of its own: a floor and four walls open to
// the sky, a solid block in one corner and a candle flame near another.
#include "light_bake.h"

#include <gtest/gtest.h>
#include <glm/gtc/packing.hpp>

#include <cmath>

namespace {

constexpr float EDGE = 40.0f;

SceneMesh smallRoom()
{
    SceneMesh mesh;
    mesh.addMaterial(makeMaterial("plaster", glm::vec3(0.8f)));
    MeshGroup& walls = mesh.group("walls", "plaster");
    const glm::vec3 x(EDGE, 0, 0), y(0, EDGE, 0), z(0, 0, EDGE);
    // Each face towards the room's inside.
    addRect(walls, glm::vec3(0), z, x, {0, 0}, {1, 1});
    addRect(walls, glm::vec3(0), y, z, {0, 0}, {1, 1});
    addRect(walls, x, z, y, {0, 0}, {1, 1});
    addRect(walls, glm::vec3(0), x, y, {0, 0}, {1, 1});
    addRect(walls, z, y, x, {0, 0}, {1, 1});
    addBox(mesh.group("block", "plaster"), glm::vec3(30, 0, 30), glm::vec3(40, 10, 40));
    mesh.addMaterial(makeMaterial("flame", glm::vec3(1.0f)));
    addSphere(mesh.group("flame", "flame"), 4, 6, translation({8, 6, 8}));
    return mesh;
}

BakeSettings smallRoomSettings()
{
    BakeSettings settings;
    settings.boxLow = glm::vec3(0.0f);
    settings.boxHigh = glm::vec3(EDGE);
    settings.cellSize = 4.0f;
    settings.raysPerCell = 32;
    return settings;
}

struct Texel {
    glm::vec4 ambient, local;
};

Texel texelAt(const LightVolume& volume, const glm::vec3& p)
{
    const glm::ivec3 cell = glm::ivec3((p - volume.boxLow) / (volume.boxHigh - volume.boxLow) * glm::vec3(volume.size));
    const size_t i = ((static_cast<size_t>(cell.z) * volume.size.y + cell.y) * volume.size.x + cell.x) * 4;
    Texel t{};
    for (int c = 0; c < 4; ++c) {
        t.ambient[c] = glm::unpackHalf1x16(volume.ambient[i + c]);
        t.local[c] = glm::unpackHalf1x16(volume.local[i + c]);
    }
    return t;
}

} // namespace

TEST(LightBake, IsRepeatableAndFiniteAndFillsWhatIsSolid)
{
    const std::vector<SceneMesh> meshes{smallRoom()};
    const LightVolume first = bakeLight(meshes, ".", smallRoomSettings());
    const LightVolume second = bakeLight(meshes, ".", smallRoomSettings());
    ASSERT_EQ(first.size, glm::ivec3(10));
    EXPECT_EQ(first.ambient, second.ambient);
    EXPECT_EQ(first.local, second.local);
    for (size_t i = 0; i < first.ambient.size(); ++i) {
        const float a = glm::unpackHalf1x16(first.ambient[i]), l = glm::unpackHalf1x16(first.local[i]);
        ASSERT_TRUE(std::isfinite(a) && a >= 0.0f && std::isfinite(l) && l >= 0.0f) << "value " << i;
    }
    // Inside the block: its neighbours' light, not darkness.
    EXPECT_GT(texelAt(first, {36, 2, 36}).ambient.g, 0.5f * texelAt(first, {26, 2, 26}).ambient.g);
}

TEST(LightBake, CornersAreOccludedAndTheCandleLightsItsSurroundings)
{
    const LightVolume volume = bakeLight({smallRoom()}, ".", smallRoomSettings());
    const Texel open = texelAt(volume, {20, 30, 20});
    const Texel corner = texelAt(volume, {2, 2, 38});
    EXPECT_LT(corner.ambient.g, 0.7f * open.ambient.g) << "the sky reaches a floor corner as freely as the middle";
    EXPECT_GT(texelAt(volume, {10, 6, 10}).local.r, 4.0f * texelAt(volume, {30, 30, 10}).local.r)
        << "the candle lights its far side as much as its near one";
}
