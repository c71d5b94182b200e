// Procedural material textures. Every image tiles: noise wraps at the image edge
// (stb_perlin's wrap arguments) and repeating patterns fit whole periods into it.
#include "scene_textures.h"

#include "written_file.h"

#include <glm/glm.hpp>
#include <stb/stb_image_write.h>
#include <stb/stb_perlin.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

namespace {

constexpr float PI = 3.14159265358979f;

using Shader = std::function<glm::vec3(float u, float v)>;

// Samples `shade` at pixel centres (u right, v down, both 0..1) and writes a PNG.
void writeImage(const std::string& path, int size, const Shader& shade)
{
    std::vector<unsigned char> pixels(static_cast<size_t>(size) * size * 3);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const glm::vec3 c = glm::clamp(shade((x + 0.5f) / size, (y + 0.5f) / size), 0.0f, 1.0f);
            unsigned char* p = &pixels[(static_cast<size_t>(y) * size + x) * 3];
            for (int k = 0; k < 3; ++k)
                p[k] = static_cast<unsigned char>(std::lround(c[k] * 255.0f));
        }
    }
    requireWritten(stbi_write_png(path.c_str(), size, size, 3, pixels.data(), size * 3) != 0, path);
}

// Fractal noise over the unit square that wraps at its edges; `cellsX`, `cellsY`
// (powers of two) set the coarsest lattice, so unequal values stretch the noise.
float tilingNoise(float u, float v, int cellsX, int cellsY, int octaves, int seed)
{
    float sum = 0.0f, amplitude = 1.0f, norm = 0.0f;
    for (int o = 0; o < octaves; ++o) {
        const int cx = std::min(cellsX << o, 256), cy = std::min(cellsY << o, 256);
        sum += amplitude * stb_perlin_noise3_seed(u * cx, v * cy, 0.37f * o, cx, cy, 0, seed);
        norm += amplitude;
        amplitude *= 0.5f;
    }
    return sum / norm;
}

// A repeatable value in 0..1 for integer cell coordinates.
float cellRandom(int a, int b, uint32_t seed)
{
    uint32_t h = static_cast<uint32_t>(a) * 0x9E3779B1u ^ static_cast<uint32_t>(b) * 0x85EBCA77u ^ seed * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return static_cast<float>(h & 0xFFFFFF) / 16777216.0f;
}

float fract(float x) { return x - std::floor(x); }
float smooth(float e0, float e1, float x) { return glm::smoothstep(e0, e1, x); }
glm::vec3 mix(const glm::vec3& a, const glm::vec3& b, float t) { return a + (b - a) * t; }

// Wood grain: bands along u, bent by stretched noise; `phase` shifts the rings.
float grain(float u, float v, float bands, float phase, int seed)
{
    const float bend = tilingNoise(u, v, 2, 8, 4, seed);
    const float rings = 0.5f + 0.5f * std::sin(2.0f * PI * (v * bands + 3.0f * bend + phase));
    const float fibres = tilingNoise(u, v, 16, 128, 2, seed + 1);
    return rings * 0.7f + 0.3f * (0.5f + 0.5f * fibres);
}

glm::vec3 floorPlanks(float u, float v)
{
    const int rows = 8;
    const int row = static_cast<int>(v * rows);
    const float inRow = fract(v * rows);
    const float shifted = fract(u + cellRandom(row, 0, 11));
    const int plank = static_cast<int>(shifted * 2.0f);
    const float alongPlank = fract(shifted * 2.0f);
    const float tint = cellRandom(row, plank, 12);
    const float g = grain(u, v, 40.0f, tint * 7.0f, 3);
    glm::vec3 c = mix(glm::vec3(0.36f, 0.2f, 0.09f), glm::vec3(0.62f, 0.41f, 0.2f), g);
    c *= 0.85f + 0.3f * tint;
    const float seam = std::min(smooth(0.0f, 0.025f, inRow) * smooth(1.0f, 0.975f, inRow),
                                smooth(0.0f, 0.006f, alongPlank) * smooth(1.0f, 0.994f, alongPlank));
    return c * (0.35f + 0.65f * seam);
}

glm::vec3 wallpaper(float u, float v)
{
    const float stripe = fract(u * 8.0f);
    const bool wide = stripe < 0.5f;
    glm::vec3 c = wide ? glm::vec3(0.82f, 0.7f, 0.52f) : glm::vec3(0.76f, 0.62f, 0.45f);
    const float pin = std::abs(stripe - 0.75f);
    c = mix(glm::vec3(0.55f, 0.16f, 0.12f), c, smooth(0.006f, 0.014f, pin));
    // Small diamonds down the wide stripes.
    const float du = std::abs(stripe - 0.25f) * 4.0f, dv = std::abs(fract(v * 16.0f) - 0.5f) * 2.0f;
    if (wide)
        c = mix(glm::vec3(0.7f, 0.55f, 0.36f), c, smooth(0.45f, 0.55f, du + dv));
    return c * (0.95f + 0.05f * tilingNoise(u, v, 16, 16, 3, 21));
}

glm::vec3 brick(float u, float v)
{
    const int rows = 8, perRow = 4;
    const int row = static_cast<int>(v * rows);
    const float inRow = fract(v * rows);
    const float offset = (row % 2) * 0.5f / perRow;
    const float x = fract(u + offset) * perRow;
    const int column = static_cast<int>(x);
    const float inBrick = fract(x);
    const float r = cellRandom(row, column, 31);
    glm::vec3 c = mix(glm::vec3(0.45f, 0.16f, 0.1f), glm::vec3(0.66f, 0.3f, 0.18f), r);
    if (cellRandom(row, column, 32) > 0.85f)
        c = glm::vec3(0.34f, 0.14f, 0.1f);
    const float speckle = tilingNoise(u, v, 32, 32, 3, 33);
    c *= 0.85f + 0.25f * speckle;
    const float edgeX = std::min(inBrick, 1.0f - inBrick) * perRow * 2.0f;
    const float edgeY = std::min(inRow, 1.0f - inRow) * 2.0f;
    const float mortar = smooth(0.025f, 0.05f, std::min(edgeX / 4.0f, edgeY));
    const glm::vec3 mortarColour = glm::vec3(0.62f, 0.58f, 0.52f) * (0.9f + 0.2f * speckle);
    return mix(mortarColour, c, mortar);
}

glm::vec3 hearthStone(float u, float v)
{
    const int tiles = 2;
    const int tx = static_cast<int>(u * tiles), ty = static_cast<int>(v * tiles);
    const float fx = fract(u * tiles), fy = fract(v * tiles);
    const float r = cellRandom(tx, ty, 41);
    const float n = tilingNoise(u, v, 8, 8, 5, 42);
    glm::vec3 c = mix(glm::vec3(0.28f, 0.27f, 0.26f), glm::vec3(0.45f, 0.42f, 0.38f), 0.5f + 0.5f * n);
    c *= 0.85f + 0.3f * r;
    const float edge = std::min(std::min(fx, 1.0f - fx), std::min(fy, 1.0f - fy));
    return c * (0.4f + 0.6f * smooth(0.0f, 0.02f, edge));
}

glm::vec3 darkWood(float u, float v)
{
    const float g = grain(u, v, 24.0f, 0.0f, 51);
    return mix(glm::vec3(0.17f, 0.08f, 0.04f), glm::vec3(0.36f, 0.2f, 0.1f), g);
}

glm::vec3 sofaFabric(float u, float v)
{
    const int threads = 64;
    const int tx = static_cast<int>(u * threads), ty = static_cast<int>(v * threads);
    const bool overWarp = (tx + ty) % 2 == 0;
    const float across = overWarp ? fract(v * threads) : fract(u * threads);
    const float ridge = 0.75f + 0.25f * std::sin(PI * across);
    const float n = tilingNoise(u, v, 8, 8, 3, 61);
    const glm::vec3 base(0.24f, 0.42f, 0.28f);
    return base * ridge * (0.9f + 0.2f * n) * (overWarp ? 1.0f : 0.9f);
}

// The knit chart: 1 where the stitch is in the pattern colour (32 x 32 stitches).
bool knitPattern(int col, int row)
{
    const int c8 = col % 8;
    if (row == 1 || row == 30)
        return true;
    if (row >= 4 && row <= 7)
        return std::abs(c8 - 4) == row - 4 || std::abs(c8 - 4) == 7 - row + 1;
    if (row >= 10 && row <= 21) {
        // Diamonds with a dot inside, every 8 stitches.
        const int dy = std::abs(row - 15) + (row > 15 ? 0 : 1);
        const int dx = std::abs(c8 - 4);
        return dx + dy == 5 || (dx == 0 && dy == 1);
    }
    if (row >= 24 && row <= 27)
        return std::abs(c8 - 4) == 27 - row || std::abs(c8 - 4) == row - 24 + 1;
    return false;
}

glm::vec3 knit(float u, float v)
{
    const int stitches = 32;
    const int col = static_cast<int>(u * stitches), row = static_cast<int>(v * stitches);
    const float cx = fract(u * stitches), cy = fract(v * stitches);
    // Each stitch is a V of two slanted loops.
    auto loop = [&](float centre, float slant) {
        const float x = cx - centre - (cy - 0.5f) * slant;
        const float y = cy - 0.5f;
        return std::max(0.0f, 1.0f - (x * x / 0.045f + y * y / 0.3f));
    };
    const float shape = std::max(loop(0.28f, -0.5f), loop(0.72f, 0.5f));
    const glm::vec3 wool = knitPattern(col, row) ? glm::vec3(0.92f, 0.88f, 0.8f) : glm::vec3(0.62f, 0.07f, 0.07f);
    const float fuzz = tilingNoise(u, v, 64, 64, 2, 71);
    return wool * (0.45f + 0.6f * std::sqrt(shape)) * (0.92f + 0.1f * fuzz);
}

glm::vec3 curtainDamask(float u, float v)
{
    const float x = fract(u * 4.0f) - 0.5f, y = fract(v * 4.0f) - 0.5f;
    const float petals = std::abs(std::cos(std::atan2(y, x) * 4.0f));
    const float radius = std::sqrt(x * x + y * y);
    const float motif = smooth(0.03f, 0.0f, std::abs(radius - 0.18f - 0.12f * petals)) +
                        smooth(0.06f, 0.03f, radius);
    const float n = tilingNoise(u, v, 8, 32, 3, 81);
    glm::vec3 c = glm::vec3(0.48f, 0.07f, 0.07f) * (0.9f + 0.15f * n);
    return mix(c, glm::vec3(0.62f, 0.16f, 0.1f), std::min(motif, 1.0f) * 0.7f);
}

glm::vec3 rug(float u, float v)
{
    const float edge = std::min(std::min(u, 1.0f - u), std::min(v, 1.0f - v));
    const glm::vec3 field(0.5f, 0.09f, 0.08f), navy(0.08f, 0.1f, 0.25f), gold(0.78f, 0.58f, 0.25f), cream(0.85f, 0.78f, 0.62f);
    glm::vec3 c = field;
    if (edge < 0.03f)
        c = navy;
    else if (edge < 0.04f)
        c = gold;
    else if (edge < 0.11f) {
        // Border band with a running diamond chain.
        const float along = (std::abs(u - 0.5f) > std::abs(v - 0.5f)) ? v : u;
        const float d = std::abs(fract(along * 14.0f) - 0.5f) * 2.0f + std::abs(edge - 0.075f) * 28.0f;
        c = d < 0.7f ? gold : navy;
        if (d < 0.35f)
            c = field;
    } else if (edge < 0.12f)
        c = gold;
    else {
        const float dx = std::abs(u - 0.5f) * 2.0f, dy = std::abs(v - 0.5f) * 2.0f;
        const float diamond = dx * 0.9f + dy * 1.3f;
        if (diamond < 0.55f)
            c = diamond < 0.48f ? (diamond < 0.16f ? gold : navy) : cream;
        const float small = std::abs(fract(u * 6.0f) - 0.5f) + std::abs(fract(v * 4.0f) - 0.5f);
        if (diamond >= 0.6f && small < 0.12f)
            c = cream;
    }
    const float wear = tilingNoise(u, v, 16, 16, 4, 91);
    return c * (0.85f + 0.2f * wear);
}

// A field of short needle strokes in fir green, repeated with wrap-around. The
// tree stands in the corner farthest from the fire, lit mostly by the room's
// ambient share, so its greens are painted bright enough to stay green there.
std::vector<glm::vec3> needleImage(int size)
{
    std::vector<glm::vec3> img(static_cast<size_t>(size) * size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float n = tilingNoise(float(x) / size, float(y) / size, 8, 8, 3, 101);
            img[static_cast<size_t>(y) * size + x] = glm::vec3(0.27f, 0.72f, 0.3f) * (0.8f + 0.3f * n);
        }
    for (int k = 0; k < 2400; ++k) {
        const float x0 = cellRandom(k, 1, 102) * size, y0 = cellRandom(k, 2, 102) * size;
        const float angle = (cellRandom(k, 3, 102) < 0.5f ? 0.6f : 2.5f) + 0.3f * cellRandom(k, 4, 102);
        const float length = 8.0f + 8.0f * cellRandom(k, 5, 102);
        const glm::vec3 shade = cellRandom(k, 6, 102) < 0.6f ? glm::vec3(0.45f, 0.92f, 0.4f) : glm::vec3(0.14f, 0.45f, 0.17f);
        for (float t = 0.0f; t < length; t += 0.5f) {
            const int x = (static_cast<int>(x0 + std::cos(angle) * t) % size + size) % size;
            const int y = (static_cast<int>(y0 + std::sin(angle) * t) % size + size) % size;
            img[static_cast<size_t>(y) * size + x] = shade;
        }
    }
    return img;
}

glm::vec3 bark(float u, float v)
{
    const float n = tilingNoise(u, v, 16, 2, 5, 111);
    const float fissure = smooth(0.1f, 0.35f, std::abs(n));
    return mix(glm::vec3(0.12f, 0.08f, 0.05f), glm::vec3(0.35f, 0.25f, 0.16f), fissure);
}

glm::vec3 paperStripes(float u, float v)
{
    const float s = fract((u + v) * 6.0f);
    glm::vec3 c = s < 0.5f ? glm::vec3(0.75f, 0.08f, 0.1f) : glm::vec3(0.95f, 0.93f, 0.9f);
    if (std::abs(s - 0.75f) < 0.05f)
        c = glm::vec3(0.1f, 0.45f, 0.2f);
    return c;
}

glm::vec3 paperDots(float u, float v)
{
    const float x = fract(u * 8.0f), y = fract(v * 8.0f);
    const int row = static_cast<int>(v * 8.0f);
    const float xs = fract(x + (row % 2) * 0.5f);
    const float d = std::hypot(xs - 0.5f, y - 0.5f);
    const glm::vec3 dot = row % 2 ? glm::vec3(0.95f, 0.9f, 0.8f) : glm::vec3(0.85f, 0.65f, 0.2f);
    return mix(dot, glm::vec3(0.08f, 0.35f, 0.18f), smooth(0.2f, 0.23f, d));
}

glm::vec3 paperStars(float u, float v)
{
    const float x = fract(u * 4.0f) - 0.5f, y = fract(v * 4.0f) - 0.5f;
    const float angle = std::atan2(-y, x) - PI / 2.0f;
    const float r = std::hypot(x, y);
    // A five-pointed star: the radius limit swings between inner and outer points.
    const float spike = std::abs(fract(angle / (2.0f * PI / 5.0f)) - 0.5f) * 2.0f;
    const float limit = 0.13f + 0.17f * std::pow(spike, 2.0f);
    const glm::vec3 paper(0.1f, 0.16f, 0.42f);
    const float twinkle = smooth(0.012f, 0.0f, std::hypot(fract(u * 4.0f + 0.5f) - 0.5f, fract(v * 4.0f + 0.5f) - 0.5f));
    return mix(mix(paper, glm::vec3(0.9f, 0.75f, 0.3f), smooth(limit + 0.01f, limit - 0.01f, r)),
               glm::vec3(0.95f), twinkle);
}

glm::vec3 paperPlaid(float u, float v)
{
    auto band = [](float t) {
        const float f = fract(t * 4.0f);
        return (f < 0.3f ? 1.0f : 0.0f) + (std::abs(f - 0.6f) < 0.03f ? 0.6f : 0.0f);
    };
    const float a = band(u), b = band(v);
    glm::vec3 c(0.6f, 0.06f, 0.08f);
    c = mix(c, glm::vec3(0.06f, 0.25f, 0.12f), 0.45f * (std::min(a, 1.0f) + std::min(b, 1.0f)));
    if (std::abs(fract(u * 4.0f) - 0.6f) < 0.015f || std::abs(fract(v * 4.0f) - 0.6f) < 0.015f)
        c = glm::vec3(0.9f, 0.8f, 0.35f);
    return c * (0.95f + 0.05f * std::sin(u * 2.0f * PI * 128.0f));
}

// Dark firs along the foreground, `perUnit` of them across, shifted by `offset`
// of a spacing; `spread` is their width against their height.
glm::vec3 firRow(float u, float v, float perUnit, float offset, float spread, const glm::vec3& behind)
{
    const float x = fract(u * perUnit + offset) - 0.5f;
    const float top = 0.7f + 0.08f * cellRandom(static_cast<int>(std::floor(u * perUnit + offset)), 0, 151);
    return v > top && v < 0.95f && std::abs(x) < (v - top) * spread ? glm::vec3(0.05f, 0.15f, 0.1f) : behind;
}

// Five cottages in the snow, seen from the front: a snow-covered gable roof with
// a dark eave, timber walls, two lit windows and a door, a fir between each two.
// Each house keeps the middle half of its fifth of the width, so at the size the
// painting is seen the firs never cut into a house's outline.
glm::vec3 winterVillage(float u, float v, const glm::vec3& behind)
{
    glm::vec3 c = firRow(u, v, 5.0f, 0.5f, 0.8f, behind);
    const float x = std::abs(fract(u * 5.0f) - 0.5f);
    const bool roof = v > 0.69f && v < 0.755f && x < 0.3f * (v - 0.69f) / 0.065f;
    if (roof)
        c = v > 0.745f ? glm::vec3(0.2f, 0.12f, 0.1f) : glm::vec3(0.88f, 0.9f, 0.96f);
    if (v >= 0.755f && v < 0.86f && x < 0.24f) {
        c = glm::vec3(0.42f, 0.24f, 0.14f);
        const bool window = v > 0.775f && v < 0.81f && std::abs(x - 0.13f) < 0.05f;
        const bool door = v > 0.8f && x < 0.035f;
        if (window)
            c = glm::vec3(1.0f, 0.8f, 0.35f);
        if (door)
            c = glm::vec3(0.16f, 0.09f, 0.06f);
    }
    return c;
}

// Still water under a pale sky: a reflection that darkens towards the shore,
// broken by short bright ripples. Regular full-width bands would read as a
// window blind rather than a lake.
glm::vec3 lakeWater(float u, float v)
{
    const float depth = smooth(0.75f, 1.0f, v);
    glm::vec3 c = mix(glm::vec3(0.5f, 0.56f, 0.68f), glm::vec3(0.22f, 0.3f, 0.42f), depth);
    const float wave = std::sin(v * 150.0f + 6.0f * tilingNoise(u, v, 8, 4, 2, 126));
    const float stroke = smooth(0.55f, 0.75f, tilingNoise(u, v, 16, 32, 2, 127));
    return mix(c, glm::vec3(0.78f, 0.82f, 0.9f), 0.5f * smooth(0.85f, 1.0f, wave) * stroke);
}

// A painted landscape: sky, two mountain ranges, a foreground of the given kind.
glm::vec3 painting(float u, float v, int kind)
{
    const glm::vec3 skyTop[3] = {{0.35f, 0.5f, 0.75f}, {0.55f, 0.62f, 0.78f}, {0.12f, 0.14f, 0.3f}};
    const glm::vec3 skyLow[3] = {{0.95f, 0.7f, 0.45f}, {0.85f, 0.85f, 0.8f}, {0.45f, 0.35f, 0.45f}};
    const glm::vec3 ground[3] = {{0.25f, 0.35f, 0.18f}, {0.2f, 0.3f, 0.2f}, {0.85f, 0.88f, 0.95f}};
    const float brush = tilingNoise(u, v, 16, 64, 3, 121 + kind);
    glm::vec3 c = mix(skyTop[kind], skyLow[kind], smooth(0.0f, 0.6f, v));
    if (kind == 2 && std::hypot(u - 0.75f, v - 0.18f) < 0.06f)
        c = glm::vec3(0.95f, 0.93f, 0.8f);
    if (kind == 0 && std::hypot(u - 0.3f, v - 0.45f) < 0.08f)
        c = glm::vec3(1.0f, 0.85f, 0.55f);
    const float far = 0.45f + 0.12f * tilingNoise(u, 0.0f, 4, 1, 4, 131 + kind);
    const float near = 0.58f + 0.08f * tilingNoise(u, 0.5f, 8, 1, 3, 141 + kind);
    if (v > far)
        c = mix(glm::vec3(0.45f, 0.48f, 0.6f), glm::vec3(0.95f, 0.95f, 1.0f), smooth(far + 0.05f, far, v));
    if (v > near)
        c = mix(glm::vec3(0.3f, 0.33f, 0.42f), ground[kind], smooth(near, 0.8f, v));
    if (kind == 1 && v > 0.75f)
        c = lakeWater(u, v);
    if (kind == 2)
        c = winterVillage(u, v, c);
    else if (kind == 0)
        c = firRow(u, v, 9.0f, 0.0f, 1.2f, c);
    return c * (0.9f + 0.15f * brush);
}

glm::vec3 bookCover(float u, float v)
{
    const float edge = std::min(std::min(u, 1.0f - u), std::min(v, 1.0f - v));
    const float leather = tilingNoise(u, v, 16, 16, 4, 161);
    glm::vec3 c = glm::vec3(0.4f, 0.07f, 0.06f) * (0.85f + 0.25f * leather);
    const glm::vec3 gold(0.8f, 0.62f, 0.25f);
    if (std::abs(edge - 0.06f) < 0.008f)
        c = gold;
    if (std::abs(u - 0.5f) < 0.28f && std::abs(v - 0.3f) < 0.05f && fract(u * 30.0f) < 0.7f)
        c = gold;
    return c;
}

glm::vec3 fur(float u, float v, const glm::vec3& light, const glm::vec3& dark)
{
    const float bend = tilingNoise(u, v, 4, 4, 3, 171);
    const float stripes = 0.5f + 0.5f * std::sin(2.0f * PI * (u * 12.0f + 1.5f * bend));
    const float hair = tilingNoise(u, v, 64, 256, 2, 172);
    return mix(dark, light, smooth(0.25f, 0.65f, stripes)) * (0.85f + 0.25f * hair);
}

// The side of a candle, u around it, v from the rim (0) down to the foot (1).
// Wax is translucent: near the flame the light it lets through makes the rim
// lighter and warmer, fading into the body and a little darker towards the foot,
// and a few runs of melted wax trail down from the rim.
glm::vec3 candleWax(float u, float v)
{
    const glm::vec3 rim(1.0f, 0.93f, 0.74f), body(0.88f, 0.82f, 0.7f), foot(0.74f, 0.68f, 0.56f);
    glm::vec3 c = mix(body, foot, smooth(0.3f, 1.0f, v));
    c = mix(c, rim, 1.0f - smooth(0.0f, 0.3f, v));
    // (around, half width, length) of each run; the runs narrow as they go down
    // and end in a rounded bead.
    const glm::vec3 runs[4] = {{0.08f, 0.035f, 0.32f}, {0.37f, 0.025f, 0.18f}, {0.61f, 0.04f, 0.45f}, {0.86f, 0.03f, 0.25f}};
    for (const glm::vec3& run : runs) {
        const float across = std::abs(u - run.x), distance = std::min(across, 1.0f - across);
        const float halfWidth = run.y * (1.0f - 0.35f * v / run.z);
        const float inside = (1.0f - smooth(0.6f, 1.0f, distance / halfWidth)) * (1.0f - smooth(run.z - 0.04f, run.z, v));
        c = mix(c, rim, 0.7f * inside);
    }
    return c * (0.97f + 0.05f * tilingNoise(u, v, 8, 4, 3, 181));
}

// The melted top of a candle, u around, v from the wick (0) out to the rim (1):
// a pool of clear wax glowing amber where the flame shines into it, a pale soft
// lip, and a charred ring where the wick stands.
glm::vec3 candleWell(float u, float v)
{
    const glm::vec3 charred(0.3f, 0.22f, 0.15f), pool(0.98f, 0.78f, 0.46f), lip(1.0f, 0.95f, 0.82f);
    glm::vec3 c = mix(pool, lip, smooth(0.45f, 0.9f, v));
    c = mix(charred, c, smooth(0.04f, 0.16f, v));
    return c * (0.97f + 0.05f * tilingNoise(u, v, 8, 4, 2, 191));
}

// A candle flame, the same all around, v from its tip (0) to its foot (1):
// orange at the tip, yellow below it, a near-white core, and a dimmer amber
// foot where the flame meets the wick.
glm::vec3 candleFlame(float, float v)
{
    const glm::vec3 tip(0.85f, 0.28f, 0.04f), outer(1.0f, 0.56f, 0.12f), core(1.0f, 0.97f, 0.86f), foot(0.85f, 0.5f, 0.25f);
    glm::vec3 c = mix(tip, outer, smooth(0.0f, 0.3f, v));
    c = mix(c, core, smooth(0.3f, 0.55f, v));
    return mix(c, foot, smooth(0.8f, 1.0f, v));
}

} // namespace

void writeSceneTextures(const std::string& dir)
{
    using namespace sceneTexture;
    auto path = [&](const char* name) { return dir + "/" + name; };
    writeImage(path(WHITE), 4, [](float, float) { return glm::vec3(1.0f); });
    writeImage(path(FLOOR_WOOD), 512, floorPlanks);
    writeImage(path(WALLPAPER), 256, wallpaper);
    writeImage(path(BRICK), 512, brick);
    writeImage(path(STONE), 256, hearthStone);
    writeImage(path(DARK_WOOD), 256, darkWood);
    writeImage(path(SOFA_FABRIC), 256, sofaFabric);
    writeImage(path(KNIT), 256, knit);
    writeImage(path(CURTAIN), 256, curtainDamask);
    writeImage(path(RUG), 512, rug);
    const std::vector<glm::vec3> needles = needleImage(256);
    writeImage(path(NEEDLES), 256, [&](float u, float v) {
        return needles[static_cast<size_t>(v * 256) * 256 + static_cast<size_t>(u * 256)];
    });
    writeImage(path(BARK), 128, bark);
    writeImage(path(PAPER[0]), 256, paperStripes);
    writeImage(path(PAPER[1]), 256, paperDots);
    writeImage(path(PAPER[2]), 256, paperStars);
    writeImage(path(PAPER[3]), 256, paperPlaid);
    for (int k = 0; k < 3; ++k)
        writeImage(path(PAINTING[k]), 256, [k](float u, float v) { return painting(u, v, k); });
    writeImage(path(BOOK_COVER), 256, bookCover);
    writeImage(path(FUR_TABBY), 256, [](float u, float v) {
        return fur(u, v, glm::vec3(0.55f, 0.5f, 0.44f), glm::vec3(0.18f, 0.15f, 0.12f));
    });
    writeImage(path(FUR_GINGER), 256, [](float u, float v) {
        return fur(u, v, glm::vec3(0.95f, 0.6f, 0.3f), glm::vec3(0.7f, 0.35f, 0.12f));
    });
    writeImage(path(CANDLE_WAX), 128, candleWax);
    writeImage(path(CANDLE_WELL), 64, candleWell);
    writeImage(path(CANDLE_FLAME), 64, candleFlame);
}
