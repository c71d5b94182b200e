// The particle images: a soft snowflake, a 4 x 4 atlas of licking flames and a
// blurred wisp for the plume. They are uploaded without alpha and drawn
// additively, so every shape is bright on pure black and black means "nothing".
// Images are written top row first; FreeImage hands them to GL bottom row first,
// so an image's top row ends up at t = 1.
#include "flame_colour.h"
#include "generators.h"
#include "written_file.h"

#include <glm/common.hpp>
#include <glm/vec3.hpp>

#include <stb_image_write.h>
#include <stb_perlin.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <numbers>
#include <vector>

namespace {

constexpr float pi = std::numbers::pi_v<float>;

float smooth(float edge0, float edge1, float x)
{
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

std::uint8_t toByte(float value)
{
    return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

// An RGB image of `width` x `height`, each texel from `paint(column, row)`, rows top first.
std::vector<std::uint8_t> paintImage(int width, int height, const std::function<glm::vec3(int, int)>& paint)
{
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; ++column) {
            const glm::vec3 colour = paint(column, row);
            std::uint8_t* texel = &rgb[(static_cast<std::size_t>(row) * width + column) * 3];
            texel[0] = toByte(colour.r);
            texel[1] = toByte(colour.g);
            texel[2] = toByte(colour.b);
        }
    }
    return rgb;
}

// A soft round flake with a faint six-armed star in it, white on black.
glm::vec3 snowflakeTexel(int column, int row, int size)
{
    const float x = (column + 0.5f) / size * 2.0f - 1.0f;
    const float y = (row + 0.5f) / size * 2.0f - 1.0f;
    const float r = std::sqrt(x * x + y * y);
    const float core = std::exp(-r * r / 0.22f);
    const float arms = std::pow(std::fabs(std::cos(3.0f * std::atan2(y, x))), 12.0f) * std::exp(-r * r / 0.35f);
    const float edge = 1.0f - smooth(0.8f, 1.0f, r);
    return glm::vec3(std::min(core + 0.3f * arms, 1.0f) * edge);
}

// Flame noise that loops over one cycle: two upward-scrolling fields crossfaded so
// that cycle time 1 shows exactly the field of time 0.
float loopingFlameNoise(float x, float y, float cycle)
{
    const float rise = 1.6f;
    const float a = stb_perlin_fbm_noise3(x * 3.0f, (y - rise * cycle) * 2.5f, 1.7f, 2.0f, 0.5f, 4);
    const float b = stb_perlin_fbm_noise3(x * 3.0f, (y - rise * (cycle - 1.0f)) * 2.5f, 1.7f, 2.0f, 0.5f, 4);
    const float weight = std::sqrt((1.0f - cycle) * (1.0f - cycle) + cycle * cycle);
    return ((1.0f - cycle) * a + cycle * b) / weight;
}

// One texel of flame frame `frame` (0..15, the animation cycle in order); x in
// -1..1 across the frame, y 0 at its bottom to 1 at its top.
glm::vec3 flameTexel(float x, float y, int frame)
{
    const float cycle = frame / 16.0f;
    const float turbulence = loopingFlameNoise(x, y, cycle);
    // The noise pushes the flame sideways more the higher it licks.
    const float sway = 0.10f * y * std::sin(2.0f * pi * (cycle + 0.7f * y)) + 0.22f * y * turbulence;
    const float width = 0.55f * std::pow(std::max(1.0f - y, 0.0f), 0.8f) + 1e-3f;
    const float across = std::fabs(x - sway) / width;
    const float rounding = smooth(0.0f, 0.25f, y + 0.12f * (1.0f - across * across));
    const float body = (1.0f - smooth(0.25f, 1.0f, across)) * rounding;
    const float halo = (1.0f - smooth(0.6f, 1.6f, across)) * rounding;
    const float heat = body * (1.05f - y * 0.6f) + turbulence * (0.2f + 0.5f * y) * halo;
    // A black margin keeps neighbouring frames apart, mipmaps included.
    const float margin = (1.0f - smooth(0.85f, 0.98f, std::fabs(x))) * (1.0f - smooth(0.92f, 0.99f, y))
                       * smooth(0.01f, 0.07f, y);
    return flameColour(std::clamp(heat, 0.0f, 1.0f)) * margin;
}

// A blurred, bright wisp of smoke rising through the middle of the image.
glm::vec3 wispTexel(int column, int row, int size)
{
    const float x = (column + 0.5f) / size * 2.0f - 1.0f;
    const float y = 1.0f - (row + 0.5f) / size * 2.0f;
    const float curl = 0.35f * stb_perlin_fbm_noise3(y * 1.2f, 4.3f, 0.0f, 2.0f, 0.5f, 3);
    const float across = (x - curl * (y + 1.0f) * 0.5f) / (0.28f + 0.18f * (y + 1.0f) * 0.5f);
    const float envelope = std::exp(-across * across * 2.0f) * (1.0f - smooth(0.55f, 1.0f, std::sqrt(x * x + y * y)));
    const float billow = 0.65f + 0.35f * stb_perlin_fbm_noise3(x * 2.5f, y * 1.5f, 9.1f, 2.0f, 0.5f, 4);
    return glm::vec3(0.92f, 0.93f, 0.96f) * (envelope * billow);
}

void writeSnowflake(const std::filesystem::path& assets)
{
    constexpr int size = 64;
    const auto rgb = paintImage(size, size, [](int c, int r) { return snowflakeTexel(c, r, size); });
    const std::string path = (assets / "particle.bmp").string();
    requireWritten(stbi_write_bmp(path.c_str(), size, size, 3, rgb.data()) != 0, path);
}

void writeFireAtlas(const std::filesystem::path& assets)
{
    constexpr int frameSize = 128;
    constexpr int grid = 4;
    constexpr int size = frameSize * grid;
    // Frames run left to right, then top to bottom; within a frame the flame rises to the top.
    const auto rgb = paintImage(size, size, [](int c, int r) {
        const int frame = (r / frameSize) * grid + c / frameSize;
        const float x = ((c % frameSize) + 0.5f) / frameSize * 2.0f - 1.0f;
        const float y = 1.0f - ((r % frameSize) + 0.5f) / frameSize;
        return flameTexel(x, y, frame);
    });
    const std::string path = (assets / "FXT_Fire_Flames_01_Atlas_dblur.png").string();
    requireWritten(stbi_write_png(path.c_str(), size, size, 3, rgb.data(), size * 3) != 0, path);
}

void writePlumeWisp(const std::filesystem::path& assets)
{
    constexpr int size = 256;
    const auto rgb = paintImage(size, size, [](int c, int r) { return wispTexel(c, r, size); });
    const std::string path = (assets / "maxresdefaultblur.jpg").string();
    requireWritten(stbi_write_jpg(path.c_str(), size, size, 3, rgb.data(), 92) != 0, path);
}

} // namespace

void writeParticleImages(const std::string& assets)
{
    const std::filesystem::path directory(assets);
    std::filesystem::create_directories(directory);
    writeSnowflake(directory);
    writeFireAtlas(directory);
    writePlumeWisp(directory);
}
