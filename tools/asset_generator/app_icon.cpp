// The program's icon: three tongues of fire over two logs on the hearth, in the
// fire's own colours, before the dark brick of the fireplace, on a rounded tile.
// Drawn in tile coordinates from -1 to 1 (y up) with every edge smoothed over
// one pixel, so the picture holds at the sizes a desktop scales it to.
#include "flame_colour.h"
#include "generators.h"
#include "written_file.h"

#include <glm/common.hpp>
#include <glm/geometric.hpp>
#include <glm/vec2.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

constexpr int ICON_SIZE = 256;
constexpr float PIXEL = 2.0f / ICON_SIZE;

// Coverage of a shape from its signed distance (negative inside), over one pixel.
float coverage(float distance)
{
    return std::clamp(0.5f - distance / PIXEL, 0.0f, 1.0f);
}

float roundedSquareDistance(glm::vec2 p, float halfSize, float radius)
{
    const glm::vec2 corner = glm::max(glm::abs(p) - glm::vec2(halfSize - radius), glm::vec2(0.0f));
    return glm::length(corner) + std::min(std::max(std::fabs(p.x), std::fabs(p.y)) - (halfSize - radius), 0.0f)
         - radius;
}

float capsuleDistance(glm::vec2 p, glm::vec2 a, glm::vec2 b, float radius)
{
    const glm::vec2 ab = b - a;
    const float along = std::clamp(glm::dot(p - a, ab) / glm::dot(ab, ab), 0.0f, 1.0f);
    return glm::length(p - (a + along * ab)) - radius;
}

struct Tongue {
    float baseX, baseY, height, halfWidth, lean;
};

// One tongue as (coverage, heat): round at its foot, tapering to a tip that bends
// by `lean` towards the top. Heat falls from the axis outwards and upwards.
glm::vec2 tongue(glm::vec2 p, const Tongue& t)
{
    const float along = (p.y - t.baseY) / t.height;
    if (along <= -0.05f || along >= 1.0f)
        return glm::vec2(0.0f);
    const float foot = 0.3f;
    const float rounding = along < foot ? std::sqrt(std::max(1.0f - std::pow((foot - along) / foot, 2.0f), 0.0f))
                                        : std::pow((1.0f - along) / (1.0f - foot), 1.3f);
    const float width = t.halfWidth * rounding + 1e-4f;
    const float axis = t.baseX + t.lean * along * along;
    const float across = std::fabs(p.x - axis) / width;
    const float edge = (across - 1.0f) * width;
    return glm::vec2(coverage(edge), std::max(1.0f - across * across, 0.0f) * (1.0f - 0.55f * along));
}

glm::vec3 over(glm::vec3 below, glm::vec3 colour, float alpha)
{
    return glm::mix(below, colour, alpha);
}

// Dark brick warming towards the fire, with the glow of the flames around them.
glm::vec3 firebox(glm::vec2 p)
{
    const glm::vec3 top(0.14f, 0.08f, 0.07f), bottom(0.34f, 0.13f, 0.08f);
    const glm::vec3 wall = glm::mix(bottom, top, std::clamp(p.y * 0.5f + 0.5f, 0.0f, 1.0f));
    const glm::vec2 fromFire = p - glm::vec2(0.0f, -0.25f);
    const float glow = 0.55f * std::exp(-glm::dot(fromFire, fromFire) / 0.30f);
    return wall + glow * glm::vec3(1.0f, 0.42f, 0.05f);
}

glm::vec3 hearthAndLogs(glm::vec2 p, glm::vec3 colour)
{
    const glm::vec3 stone(0.45f, 0.42f, 0.40f), wood(0.30f, 0.17f, 0.08f), ember(0.85f, 0.30f, 0.05f);
    colour = over(colour, stone, coverage(p.y + 0.66f));
    const float back = capsuleDistance(p, glm::vec2(-0.52f, -0.50f), glm::vec2(0.48f, -0.58f), 0.085f);
    const float front = capsuleDistance(p, glm::vec2(-0.45f, -0.62f), glm::vec2(0.55f, -0.52f), 0.085f);
    for (const float log : {back, front}) {
        // Each log's rim glows like embers; its core stays dark wood.
        const float lit = std::clamp(-log / 0.085f, 0.0f, 1.0f);
        colour = over(colour, glm::mix(ember, wood, lit), coverage(log));
    }
    return colour;
}

glm::vec3 flames(glm::vec2 p, glm::vec3 colour)
{
    const Tongue tongues[] = {
        {-0.24f, -0.52f, 0.70f, 0.20f, -0.10f},
        {0.25f, -0.52f, 0.62f, 0.19f, 0.12f},
        {0.0f, -0.56f, 1.20f, 0.30f, 0.08f},
    };
    for (const Tongue& t : tongues) {
        const glm::vec2 shape = tongue(p, t);
        colour = over(colour, flameColour(0.45f + 0.55f * shape.y), shape.x);
    }
    return colour;
}

glm::vec4 iconTexel(int column, int row)
{
    const glm::vec2 p((column + 0.5f) * PIXEL - 1.0f, 1.0f - (row + 0.5f) * PIXEL);
    const float tile = coverage(roundedSquareDistance(p, 0.90f, 0.22f));
    const glm::vec3 colour = flames(p, hearthAndLogs(p, firebox(p)));
    return glm::vec4(glm::clamp(colour, 0.0f, 1.0f), tile);
}

std::uint8_t toByte(float value)
{
    return static_cast<std::uint8_t>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

} // namespace

void writeAppIcon(const std::string& file)
{
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(ICON_SIZE) * ICON_SIZE * 4);
    for (int row = 0; row < ICON_SIZE; ++row) {
        for (int column = 0; column < ICON_SIZE; ++column) {
            const glm::vec4 texel = iconTexel(column, row);
            std::uint8_t* out = &rgba[(static_cast<std::size_t>(row) * ICON_SIZE + column) * 4];
            for (int channel = 0; channel < 4; ++channel)
                out[channel] = toByte(texel[channel]);
        }
    }
    requireWritten(stbi_write_png(file.c_str(), ICON_SIZE, ICON_SIZE, 4, rgba.data(), ICON_SIZE * 4) != 0, file);
}
