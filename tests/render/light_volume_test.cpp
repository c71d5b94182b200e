// The baked light's file: what is written reads back the same, and a damaged
// file is refused with what is wrong with it.
#include "render/light_volume.h"

#include "support/process.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

LightVolume smallVolume()
{
    LightVolume volume;
    volume.size = glm::ivec3(3, 2, 4);
    volume.boxLow = glm::vec3(-1.0f, 0.0f, 2.0f);
    volume.boxHigh = glm::vec3(5.0f, 4.0f, 9.0f);
    for (size_t i = 0; i < volume.texelCount() * 4; ++i) {
        volume.ambient.push_back(static_cast<uint16_t>(i));
        volume.local.push_back(static_cast<uint16_t>(1000 + i));
    }
    return volume;
}

std::string bytesOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

} // namespace

TEST(LightVolume, ReadsBackWhatWasWritten)
{
    TempDir dir;
    const std::string path = dir.path + "/room.bake";
    const LightVolume written = smallVolume();
    ASSERT_TRUE(writeLightVolume(path, written));
    LightVolume read;
    std::string error;
    ASSERT_TRUE(readLightVolume(path, read, error)) << error;
    EXPECT_EQ(read.size, written.size);
    EXPECT_EQ(read.boxLow, written.boxLow);
    EXPECT_EQ(read.boxHigh, written.boxHigh);
    EXPECT_EQ(read.ambient, written.ambient);
    EXPECT_EQ(read.local, written.local);
}

TEST(LightVolume, RefusesADamagedFile)
{
    TempDir dir;
    const std::string good = dir.path + "/good.bake";
    ASSERT_TRUE(writeLightVolume(good, smallVolume()));
    const std::string bytes = bytesOf(good);
    std::string hugeEdge = bytes;
    hugeEdge[4] = '\xff', hugeEdge[5] = '\xff';
    // The header: magic, three edges, then the low and the high corner (12 bytes each).
    std::string swapped = bytes;
    std::copy(bytes.begin() + 28, bytes.begin() + 40, swapped.begin() + 16);
    std::copy(bytes.begin() + 16, bytes.begin() + 28, swapped.begin() + 28);
    const struct {
        const char* name;
        std::string contents;
        const char* error;
    } cases[] = {
        {"empty", "", "is not a light volume"},
        {"other magic", "XXXX" + bytes.substr(4), "is not a light volume"},
        {"huge edge", hugeEdge, "has a damaged header"},
        {"truncated", bytes.substr(0, bytes.size() - 2), "is not as long as its header says"},
        {"trailing bytes", bytes + "x", "is not as long as its header says"},
        {"corners swapped", swapped, "has an empty box"},
    };
    for (const auto& c : cases) {
        const std::string path = dir.path + "/bad.bake";
        writeFile(path, c.contents);
        LightVolume volume;
        std::string error;
        EXPECT_FALSE(readLightVolume(path, volume, error)) << c.name;
        EXPECT_EQ(error, c.error) << c.name;
    }
    LightVolume volume;
    std::string error;
    EXPECT_FALSE(readLightVolume(dir.path + "/missing.bake", volume, error));
    EXPECT_EQ(error, "cannot be opened");
}
