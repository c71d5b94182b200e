// Reading and writing the baked light volume's file.
#include "render/light_volume.h"

#include "platform/native_path.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr std::array<char, 4> MAGIC = {'F', 'L', 'V', '1'};
// A volume larger than this on any edge is a damaged header, not a bake.
constexpr int MAX_EDGE = 1024;

struct Header {
    std::array<char, 4> magic;
    uint32_t size[3];
    float boxLow[3];
    float boxHigh[3];
};

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

bool sizeIsSane(const uint32_t (&size)[3])
{
    for (uint32_t edge : size)
        if (edge < 2 || edge > MAX_EDGE)
            return false;
    return true;
}

} // namespace

size_t LightVolume::texelCount() const
{
    return static_cast<size_t>(size.x) * size.y * size.z;
}

glm::vec3 LightVolume::texelCentre(const glm::ivec3& texel) const
{
    return boxLow + (glm::vec3(texel) + 0.5f) * (boxHigh - boxLow) / glm::vec3(size);
}

bool writeLightVolume(const std::string& path, const LightVolume& volume)
{
    File file(std::fopen(nativePath(path).c_str(), "wb"), std::fclose);
    if (!file)
        return false;
    Header header{MAGIC, {}, {}, {}};
    for (int k = 0; k < 3; ++k) {
        header.size[k] = static_cast<uint32_t>(volume.size[k]);
        header.boxLow[k] = volume.boxLow[k];
        header.boxHigh[k] = volume.boxHigh[k];
    }
    const size_t values = volume.texelCount() * 4;
    bool written = std::fwrite(&header, sizeof header, 1, file.get()) == 1;
    written = written && std::fwrite(volume.ambient.data(), sizeof(uint16_t), values, file.get()) == values;
    written = written && std::fwrite(volume.local.data(), sizeof(uint16_t), values, file.get()) == values;
    return std::fclose(file.release()) == 0 && written;
}

bool readLightVolume(const std::string& path, LightVolume& volume, std::string& error)
{
    File file(std::fopen(nativePath(path).c_str(), "rb"), std::fclose);
    if (!file) {
        error = "cannot be opened";
        return false;
    }
    Header header{};
    if (std::fread(&header, sizeof header, 1, file.get()) != 1 || header.magic != MAGIC) {
        error = "is not a light volume";
        return false;
    }
    if (!sizeIsSane(header.size)) {
        error = "has a damaged header";
        return false;
    }
    LightVolume read;
    read.size = glm::ivec3(header.size[0], header.size[1], header.size[2]);
    read.boxLow = glm::vec3(header.boxLow[0], header.boxLow[1], header.boxLow[2]);
    read.boxHigh = glm::vec3(header.boxHigh[0], header.boxHigh[1], header.boxHigh[2]);
    const size_t values = read.texelCount() * 4;
    read.ambient.resize(values);
    read.local.resize(values);
    const bool whole = std::fread(read.ambient.data(), sizeof(uint16_t), values, file.get()) == values &&
                       std::fread(read.local.data(), sizeof(uint16_t), values, file.get()) == values;
    if (!whole || std::fgetc(file.get()) != EOF) {
        error = "is not as long as its header says";
        return false;
    }
    if (!glm::all(glm::lessThan(read.boxLow, read.boxHigh))) {
        error = "has an empty box";
        return false;
    }
    volume = std::move(read);
    return true;
}
