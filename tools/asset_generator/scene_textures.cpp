// Procedural material textures. Every image tiles: noise wraps at the image edge
// (stb_perlin's wrap arguments) and repeating patterns fit whole periods into it.
//
// The surfaces with relief (brick, stone, wood, fabric, wallpaper) are painted
// with their height, from which two things are made:
// - the colour texture darkens where the surface lies below its surroundings
//   (mortar joints, plank seams, the hollows between stitches), so that the
//   relief reads at no cost when drawing;
// - a relief map, named by the material as its specular texture (map_Ks, drawn
//   as "texture_specular1"), hands the height on to the lit shader. It is 8-bit
//   RGB with the colour texture's tiling:
//     R  height: 0 the texture's lowest point, 255 its highest;
//     G  gloss: the share of the material's specular colour (Ks) the texel
//        reflects, 255 all of it (a joint of mortar or a seam reflects less);
//     B  relief depth, the same in every texel: the world units from height 0 to
//        height 255 are B / 255 x RELIEF_DEPTH_RANGE.
//   Normals follow from the height's screen-space derivatives, so the map needs
//   no tangent frame in the vertex record.
#include "scene_textures.h"

#include "cell_random.h"
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

// One texel of a surface with relief: height in any unit (only the texture's own
// range counts), gloss 0 (dull) to 1 (the material's full sheen).
struct SurfaceTexel {
    glm::vec3 colour;
    float height;
    float gloss;
};
using SurfaceShader = std::function<SurfaceTexel(float u, float v)>;

// How a surface's relief is written: the depth its height range stands for, and
// how strongly and how widely the hollows darken the colour texture.
struct Relief {
    float depth;      // world units from the lowest to the highest point
    float cavity;     // 0 no darkening, 1 black at the deepest hollow
    int radius;       // texels around a texel that it is compared with
};

void writeRgb(const std::string& path, int size, const std::vector<unsigned char>& pixels)
{
    requireWritten(stbi_write_png(path.c_str(), size, size, 3, pixels.data(), size * 3) != 0, path);
}

unsigned char toByte(float value)
{
    return static_cast<unsigned char>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

// Samples `shade` at pixel centres (u right, v down, both 0..1) and writes a PNG.
void writeImage(const std::string& path, int size, const Shader& shade)
{
    std::vector<unsigned char> pixels(static_cast<size_t>(size) * size * 3);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const glm::vec3 c = shade((x + 0.5f) / size, (y + 0.5f) / size);
            for (int k = 0; k < 3; ++k)
                pixels[(static_cast<size_t>(y) * size + x) * 3 + k] = toByte(c[k]);
        }
    writeRgb(path, size, pixels);
}

// The mean of the square of (2 radius + 1)^2 texels around each texel, wrapping
// as the texture does: two passes of a running sum.
std::vector<float> wrappedBoxBlur(const std::vector<float>& image, int size, int radius)
{
    std::vector<float> across(image.size()), result(image.size());
    const float norm = 1.0f / static_cast<float>(2 * radius + 1);
    auto at = [size](int x, int y) { return static_cast<size_t>((y + size) % size) * size + (x + size) % size; };
    for (int y = 0; y < size; ++y) {
        float sum = 0.0f;
        for (int k = -radius; k <= radius; ++k)
            sum += image[at(k, y)];
        for (int x = 0; x < size; ++x) {
            across[at(x, y)] = sum * norm;
            sum += image[at(x + radius + 1, y)] - image[at(x - radius, y)];
        }
    }
    for (int x = 0; x < size; ++x) {
        float sum = 0.0f;
        for (int k = -radius; k <= radius; ++k)
            sum += across[at(x, k)];
        for (int y = 0; y < size; ++y) {
            result[at(x, y)] = sum * norm;
            sum += across[at(x, y + radius + 1)] - across[at(x, y - radius)];
        }
    }
    return result;
}

// Writes the colour texture, with its hollows darkened, and its relief map.
void writeReliefImages(const std::string& colourPath, const std::string& reliefPath, int size,
                       const SurfaceShader& shade, const Relief& relief)
{
    const size_t count = static_cast<size_t>(size) * size;
    std::vector<SurfaceTexel> texels(count);
    std::vector<float> height(count);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const size_t i = static_cast<size_t>(y) * size + x;
            texels[i] = shade((x + 0.5f) / size, (y + 0.5f) / size);
            height[i] = texels[i].height;
        }
    const auto [lowest, highest] = std::minmax_element(height.begin(), height.end());
    const float low = *lowest, range = std::max(*highest - *lowest, 1e-6f);
    for (float& h : height)
        h = (h - low) / range;
    // Blurred twice: a tent over the neighbourhood, so hollows darken smoothly.
    const std::vector<float> around = wrappedBoxBlur(wrappedBoxBlur(height, size, relief.radius), size, relief.radius);

    std::vector<unsigned char> colour(count * 3), map(count * 3);
    const unsigned char depth = toByte(relief.depth / sceneTexture::RELIEF_DEPTH_RANGE);
    for (size_t i = 0; i < count; ++i) {
        const float hollow = std::clamp((around[i] - height[i]) * 2.5f, 0.0f, 1.0f);
        const glm::vec3 c = texels[i].colour * (1.0f - relief.cavity * hollow);
        for (int k = 0; k < 3; ++k)
            colour[i * 3 + k] = toByte(c[k]);
        map[i * 3 + 0] = toByte(height[i]);
        map[i * 3 + 1] = toByte(texels[i].gloss);
        map[i * 3 + 2] = depth;
    }
    writeRgb(colourPath, size, colour);
    writeRgb(reliefPath, size, map);
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

float fract(float x) { return x - std::floor(x); }
float smooth(float e0, float e1, float x) { return glm::smoothstep(e0, e1, x); }
glm::vec3 mix(const glm::vec3& a, const glm::vec3& b, float t) { return a + (b - a) * t; }

// Oak boards along u, eight across the tile, each a plank and a half long, with
// straight grain lines that waver gently along the board, and rounded edges that
// meet in a dark seam. The varnish is glossy; the seams are not.
SurfaceTexel floorPlanks(float u, float v)
{
    const int rows = 8;
    const int row = static_cast<int>(v * rows);
    const float across = fract(v * rows);
    const float shifted = fract(u + cellRandom(row, 0, 11));
    const int plank = static_cast<int>(shifted * 2.0f);
    const float along = fract(shifted * 2.0f);
    const float tint = cellRandom(row, plank, 12);
    const float waver = tilingNoise(u, v, 2, 16, 3, 3);
    const float lines = 0.5f + 0.5f * std::sin(2.0f * PI * (across * 2.5f + tint * 5.0f + 0.6f * waver));
    const float fibres = 0.5f + 0.5f * tilingNoise(u, v, 4, 256, 2, 4);
    const float grain = 0.6f * smooth(0.2f, 0.9f, lines) + 0.4f * fibres;
    glm::vec3 c = mix(glm::vec3(0.5f, 0.34f, 0.2f), glm::vec3(0.6f, 0.43f, 0.27f), grain);
    c *= 0.86f + 0.24f * tint;
    const float edge = std::min(smooth(0.0f, 0.05f, across) * smooth(1.0f, 0.95f, across),
                                smooth(0.0f, 0.008f, along) * smooth(1.0f, 0.992f, along));
    c *= 0.55f + 0.45f * edge;
    return {c, edge * (0.9f + 0.1f * grain), 0.15f + 0.85f * edge * (0.8f + 0.2f * fibres)};
}

// Embossed paper in a cool sage grey: broad and narrow stripes, a raised cream
// pinstripe, and small raised diamonds down the broad stripes.
SurfaceTexel wallpaper(float u, float v)
{
    const float stripe = fract(u * 8.0f);
    const bool wide = stripe < 0.5f;
    glm::vec3 c = wide ? glm::vec3(0.6f, 0.65f, 0.62f) : glm::vec3(0.53f, 0.58f, 0.57f);
    float height = wide ? 0.35f : 0.25f;
    const float pin = smooth(0.014f, 0.006f, std::abs(stripe - 0.75f));
    c = mix(c, glm::vec3(0.84f, 0.8f, 0.7f), pin);
    height += 0.5f * pin;
    const float du = std::abs(stripe - 0.25f) * 4.0f, dv = std::abs(fract(v * 16.0f) - 0.5f) * 2.0f;
    if (wide) {
        const float diamond = smooth(0.55f, 0.45f, du + dv);
        c = mix(c, glm::vec3(0.68f, 0.72f, 0.68f), diamond);
        height += 0.6f * diamond;
    }
    const float paper = tilingNoise(u, v, 16, 16, 3, 21);
    return {c * (0.95f + 0.05f * paper), height + 0.1f * paper, 0.5f + 0.3f * pin};
}

// Stretcher bond with rounded, pitted bricks of varied firing, a few dark and a
// few pale ones, set in recessed grey mortar.
SurfaceTexel brick(float u, float v)
{
    const int rows = 8, perRow = 4;
    const int row = static_cast<int>(v * rows);
    const float inRow = fract(v * rows);
    const float offset = (row % 2) * 0.5f / perRow;
    const float x = fract(u + offset) * perRow;
    const int column = static_cast<int>(x);
    const float inBrick = fract(x);
    const float r = cellRandom(row, column, 31);
    glm::vec3 c = mix(glm::vec3(0.5f, 0.21f, 0.14f), glm::vec3(0.64f, 0.33f, 0.22f), r);
    const float kind = cellRandom(row, column, 32);
    if (kind > 0.88f)
        c = glm::vec3(0.36f, 0.18f, 0.13f);
    else if (kind < 0.08f)
        c = glm::vec3(0.68f, 0.5f, 0.38f);
    const float speckle = tilingNoise(u, v, 32, 32, 3, 33);
    c *= 0.85f + 0.25f * speckle;
    const float edgeX = std::min(inBrick, 1.0f - inBrick) * perRow * 2.0f;
    const float edgeY = std::min(inRow, 1.0f - inRow) * 2.0f;
    const float edge = std::min(edgeX / 4.0f, edgeY);
    const float face = smooth(0.025f, 0.05f, edge);
    const glm::vec3 mortarColour = glm::vec3(0.64f, 0.61f, 0.56f) * (0.9f + 0.2f * speckle);
    const float pits = tilingNoise(u, v, 64, 64, 2, 34);
    const float brickHeight = 0.6f + 0.3f * smooth(0.04f, 0.2f, edge) + 0.1f * pits;
    const float mortarHeight = 0.1f + 0.05f * speckle;
    return {mix(mortarColour, c, face), mortarHeight + (brickHeight - mortarHeight) * face, 0.15f + 0.35f * face};
}

// Two by two flags of slate-grey stone with worn, slightly domed faces.
SurfaceTexel hearthStone(float u, float v)
{
    const int tiles = 2;
    const int tx = static_cast<int>(u * tiles), ty = static_cast<int>(v * tiles);
    const float fx = fract(u * tiles), fy = fract(v * tiles);
    const float r = cellRandom(tx, ty, 41);
    const float n = tilingNoise(u, v, 8, 8, 5, 42);
    glm::vec3 c = mix(glm::vec3(0.36f, 0.37f, 0.38f), glm::vec3(0.52f, 0.52f, 0.5f), 0.5f + 0.5f * n);
    c *= 0.85f + 0.3f * r;
    const float edge = std::min(std::min(fx, 1.0f - fx), std::min(fy, 1.0f - fy));
    const float face = smooth(0.0f, 0.02f, edge);
    return {c * (0.5f + 0.5f * face), face * (0.7f + 0.2f * smooth(0.0f, 0.3f, edge) + 0.1f * n), 0.2f + 0.6f * face};
}

// Wood grain: bands along u, bent by stretched noise; `phase` shifts the rings.
float grain(float u, float v, float bands, float phase, int seed)
{
    const float bend = tilingNoise(u, v, 2, 8, 4, seed);
    const float rings = 0.5f + 0.5f * std::sin(2.0f * PI * (v * bands + 1.2f * bend + phase));
    const float fibres = tilingNoise(u, v, 16, 128, 2, seed + 1);
    return rings * 0.6f + 0.4f * (0.5f + 0.5f * fibres);
}

// Walnut for the panelling, the beams, the mantel and the furniture: mid brown,
// so that it keeps its grain in the shade; the softer late wood lies a little lower.
SurfaceTexel darkWood(float u, float v)
{
    const float g = grain(u, v, 24.0f, 0.0f, 51);
    return {mix(glm::vec3(0.33f, 0.2f, 0.11f), glm::vec3(0.5f, 0.33f, 0.19f), g), g, 0.75f + 0.25f * g};
}

// Raised and fielded oak panelling in honey tones, mapped as the walls are (48
// units a tile, v = 1 at the floor, the dado rail at v = 1/3): two panels a
// tile between a top rail, a skirting and stiles, each panel's field standing
// proud of its bevelled edges, a fine groove where it meets the frame.
SurfaceTexel oakPanelling(float u, float v)
{
    const float stile = 0.06f, topRail = 0.4f, skirting = 0.88f, bevel = 0.05f;
    const float x = fract(u * 2.0f) * 0.5f;
    const bool inPanel = x > stile && v > topRail && v < skirting;
    // Distance from the panel's edge, in tile units.
    const float edge = inPanel ? std::min({x - stile, 0.5f - x, v - topRail, skirting - v}) : 0.0f;
    const bool upright = !inPanel && v > topRail && v < skirting;
    const float g = upright ? grain(v, u, 20.0f, 0.3f, 53) : grain(u, v, 36.0f, 0.0f, 55);
    const glm::vec3 c = mix(glm::vec3(0.45f, 0.3f, 0.17f), glm::vec3(0.6f, 0.42f, 0.25f), g);
    if (!inPanel)
        return {c, 0.75f + 0.03f * g, 0.8f};
    const float groove = smooth(0.0f, 0.008f, edge);
    const float field = 0.4f + 0.6f * smooth(0.0f, bevel, edge - 0.008f);
    return {c * (0.9f + 0.1f * groove), groove * field + 0.03f * g, 0.3f + 0.6f * groove};
}

// A plain weave in moss green: raised threads, one over, one under.
SurfaceTexel sofaFabric(float u, float v)
{
    const int threads = 64;
    const int tx = static_cast<int>(u * threads), ty = static_cast<int>(v * threads);
    const bool overWarp = (tx + ty) % 2 == 0;
    const float across = overWarp ? fract(v * threads) : fract(u * threads);
    const float ridge = std::sin(PI * across);
    const float n = tilingNoise(u, v, 8, 8, 3, 61);
    const glm::vec3 base(0.25f, 0.46f, 0.3f);
    const glm::vec3 c = base * (0.8f + 0.2f * ridge) * (0.9f + 0.2f * n) * (overWarp ? 1.0f : 0.92f);
    return {c, ridge * (overWarp ? 1.0f : 0.8f), 0.6f + 0.4f * ridge};
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

// Each stitch is a V of two slanted loops of yarn, standing proud of the gaps
// between them.
SurfaceTexel knit(float u, float v)
{
    const int stitches = 32;
    const int col = static_cast<int>(u * stitches), row = static_cast<int>(v * stitches);
    const float cx = fract(u * stitches), cy = fract(v * stitches);
    auto loop = [&](float centre, float slant) {
        const float x = cx - centre - (cy - 0.5f) * slant;
        const float y = cy - 0.5f;
        return std::max(0.0f, 1.0f - (x * x / 0.045f + y * y / 0.3f));
    };
    const float shape = std::sqrt(std::max(loop(0.28f, -0.5f), loop(0.72f, 0.5f)));
    const glm::vec3 wool = knitPattern(col, row) ? glm::vec3(0.9f, 0.86f, 0.78f) : glm::vec3(0.62f, 0.12f, 0.11f);
    const float fuzz = tilingNoise(u, v, 64, 64, 2, 71);
    return {wool * (0.6f + 0.45f * shape) * (0.92f + 0.1f * fuzz), shape + 0.1f * fuzz, 0.3f + 0.4f * shape};
}

// Cut velvet in a deep old rose: the pile stands around a damask motif voided
// down to the duller, darker backing.
SurfaceTexel curtainVelvet(float u, float v)
{
    const float x = fract(u * 4.0f) - 0.5f, y = fract(v * 4.0f) - 0.5f;
    const float petals = std::abs(std::cos(std::atan2(y, x) * 4.0f));
    const float radius = std::sqrt(x * x + y * y);
    const float motif = std::min(smooth(0.03f, 0.0f, std::abs(radius - 0.18f - 0.12f * petals)) +
                                 smooth(0.06f, 0.03f, radius), 1.0f);
    const float pile = tilingNoise(u, v, 8, 32, 3, 81);
    const glm::vec3 ground = glm::vec3(0.6f, 0.2f, 0.23f) * (0.92f + 0.12f * pile);
    return {mix(ground, glm::vec3(0.4f, 0.12f, 0.15f), motif), 1.0f - 0.6f * motif + 0.1f * pile, 1.0f - 0.6f * motif};
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

// Alpine peaks at sunset: a warm sky with the sun low over a far blue range, a
// nearer snow-capped range and a meadow with a row of firs.
glm::vec3 paintMountains(float u, float v)
{
    glm::vec3 c = mix(glm::vec3(0.35f, 0.5f, 0.75f), glm::vec3(0.95f, 0.7f, 0.45f), smooth(0.0f, 0.6f, v));
    if (std::hypot(u - 0.3f, v - 0.45f) < 0.08f)
        c = glm::vec3(1.0f, 0.85f, 0.55f);
    const float far = 0.45f + 0.12f * tilingNoise(u, 0.0f, 4, 1, 4, 131);
    const float near = 0.58f + 0.08f * tilingNoise(u, 0.5f, 8, 1, 3, 141);
    if (v > far)
        c = mix(glm::vec3(0.45f, 0.48f, 0.6f), glm::vec3(0.95f, 0.95f, 1.0f), smooth(far + 0.05f, far, v));
    if (v > near)
        c = mix(glm::vec3(0.3f, 0.33f, 0.42f), glm::vec3(0.25f, 0.35f, 0.18f), smooth(near, 0.8f, v));
    return firRow(u, v, 9.0f, 0.0f, 1.2f, c);
}

// A still lake in early summer: a pale sky over a low wooded shore, which the
// water mirrors, darkening towards the near bank; short bright ripples break the
// reflection, and a red boat lies on the water.
glm::vec3 paintLake(float u, float v)
{
    const float shore = 0.5f;
    const float treeTops = shore - 0.06f - 0.05f * std::abs(tilingNoise(u, 0.3f, 16, 1, 3, 126));
    if (v < shore) {
        const glm::vec3 sky = mix(glm::vec3(0.55f, 0.68f, 0.86f), glm::vec3(0.93f, 0.9f, 0.82f), smooth(0.0f, 0.45f, v));
        return v > treeTops ? glm::vec3(0.16f, 0.3f, 0.17f) * (0.8f + 0.4f * tilingNoise(u, v, 32, 8, 2, 128)) : sky;
    }
    // Mirrored about the shore line, dimmed and bluer.
    const float mirrored = 2.0f * shore - v;
    glm::vec3 c = mirrored > treeTops ? glm::vec3(0.14f, 0.25f, 0.2f) : glm::vec3(0.62f, 0.72f, 0.84f);
    c = mix(c, glm::vec3(0.12f, 0.22f, 0.3f), smooth(0.6f, 1.0f, v));
    const float wave = std::sin(v * 150.0f + 6.0f * tilingNoise(u, v, 8, 4, 2, 126));
    const float stroke = smooth(0.55f, 0.75f, tilingNoise(u, v, 16, 32, 2, 127));
    c = mix(c, glm::vec3(0.82f, 0.86f, 0.9f), 0.5f * smooth(0.85f, 1.0f, wave) * stroke);
    const float boatX = (u - 0.62f) / 0.09f, boatY = (v - 0.7f) / 0.018f;
    if (std::abs(boatY) < 1.0f && std::abs(boatX) < 1.0f - 0.5f * (boatY + 1.0f) * 0.5f)
        c = boatY < -0.3f ? glm::vec3(0.85f, 0.8f, 0.7f) : glm::vec3(0.6f, 0.12f, 0.08f);
    return c;
}

// A snowed-in village on a winter night: a deep blue sky with a full moon and
// stars over white rolling hills, and five cottages with lit windows and a fir
// between each two. Each house keeps the middle half of its fifth of the width,
// so at the size the painting is seen the firs never cut into a house's outline.
glm::vec3 paintVillage(float u, float v)
{
    glm::vec3 c = mix(glm::vec3(0.06f, 0.08f, 0.22f), glm::vec3(0.3f, 0.3f, 0.45f), smooth(0.0f, 0.65f, v));
    if (std::hypot(u - 0.75f, v - 0.18f) < 0.06f)
        c = glm::vec3(0.95f, 0.93f, 0.8f);
    if (cellRandom(static_cast<int>(u * 90.0f), static_cast<int>(v * 90.0f), 133) > 0.985f && v < 0.5f)
        c = glm::vec3(0.9f, 0.9f, 0.8f);
    const float hills = 0.6f + 0.05f * std::sin(u * 2.0f * PI * 2.0f + 0.7f) + 0.03f * std::sin(u * 2.0f * PI * 5.0f);
    if (v > hills)
        c = mix(glm::vec3(0.72f, 0.76f, 0.88f), glm::vec3(0.88f, 0.9f, 0.96f), smooth(hills, 0.95f, v));
    c = firRow(u, v, 5.0f, 0.5f, 0.8f, c);
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

// A harbour mouth in rough weather: grey clouds breaking to a pale band at the
// horizon, a dark green sea with white crests, a lighthouse on its rock at the
// right, and a three-master under white sails.
glm::vec3 paintHarbour(float u, float v)
{
    const float horizon = 0.58f;
    const float clouds = tilingNoise(u, v, 4, 8, 4, 161);
    glm::vec3 c = mix(glm::vec3(0.42f, 0.46f, 0.52f), glm::vec3(0.92f, 0.86f, 0.68f), smooth(0.3f, horizon, v));
    c = mix(c, glm::vec3(0.3f, 0.32f, 0.38f), 0.5f * smooth(0.0f, 0.4f, clouds) * (1.0f - smooth(0.35f, 0.55f, v)));
    if (v > horizon) {
        c = mix(glm::vec3(0.2f, 0.32f, 0.32f), glm::vec3(0.08f, 0.18f, 0.2f), smooth(horizon, 1.0f, v));
        const float crest = tilingNoise(u, v, 16, 32, 3, 162);
        c = mix(c, glm::vec3(0.85f, 0.9f, 0.9f), smooth(0.35f, 0.55f, crest) * smooth(horizon, 0.8f, v) * 0.8f);
    }
    // The rock and the lighthouse with its lamp.
    const float rock = 0.62f - 0.1f * std::max(0.0f, 1.0f - std::abs(u - 0.84f) / 0.14f);
    if (u > 0.7f && v > rock && v < 0.75f)
        c = glm::vec3(0.22f, 0.2f, 0.18f);
    if (std::abs(u - 0.84f) < 0.018f + 0.1f * (v - 0.3f) * 0.1f && v > 0.32f && v < 0.53f)
        c = fract(v * 20.0f) < 0.5f ? glm::vec3(0.9f, 0.88f, 0.82f) : glm::vec3(0.7f, 0.12f, 0.1f);
    if (std::hypot(u - 0.84f, v - 0.3f) < 0.025f)
        c = glm::vec3(1.0f, 0.92f, 0.6f);
    // The ship: a dark hull on the water, three masts, a sail on each.
    const float hullY = (v - 0.63f) / 0.03f;
    if (std::abs(hullY) < 1.0f && std::abs(u - 0.33f) < 0.12f - 0.04f * hullY)
        c = glm::vec3(0.18f, 0.12f, 0.09f);
    for (int mast = 0; mast < 3; ++mast) {
        const float mx = 0.25f + 0.08f * mast, top = 0.38f + 0.04f * std::abs(mast - 1);
        if (std::abs(u - mx) < 0.004f && v > top && v < 0.61f)
            c = glm::vec3(0.2f, 0.14f, 0.1f);
        const float across = std::abs(u - mx - 0.005f * std::sin((v - top) * 20.0f));
        if (v > top + 0.03f && v < 0.58f && across < 0.02f + 0.12f * (v - top))
            c = glm::vec3(0.92f, 0.9f, 0.84f) * (0.85f + 0.15f * smooth(0.0f, 0.05f, u - mx));
    }
    return c;
}

// A still life of a summer bouquet in a blue and white jug on a table, against
// a dark warm ground: blossoms of several kinds and colours among leaves.
glm::vec3 paintFlowers(float u, float v)
{
    glm::vec3 c = mix(glm::vec3(0.2f, 0.16f, 0.12f), glm::vec3(0.08f, 0.07f, 0.06f), smooth(0.0f, 0.8f, std::hypot(u - 0.45f, v - 0.35f)));
    if (v > 0.8f)
        c = mix(glm::vec3(0.45f, 0.28f, 0.15f), glm::vec3(0.3f, 0.18f, 0.1f), smooth(0.8f, 1.0f, v));
    const float jugX = (u - 0.5f) / (0.13f + 0.05f * std::sin((v - 0.55f) / 0.25f * PI));
    if (v > 0.55f && v < 0.82f && std::abs(jugX) < 1.0f) {
        const bool band = std::abs(v - 0.67f) < 0.025f || std::abs(v - 0.75f) < 0.008f;
        c = (band ? glm::vec3(0.18f, 0.28f, 0.6f) : glm::vec3(0.86f, 0.87f, 0.84f)) * (1.0f - 0.35f * jugX * jugX);
    }
    const glm::vec3 colours[5] = {{0.8f, 0.12f, 0.14f}, {0.95f, 0.8f, 0.25f}, {0.95f, 0.93f, 0.88f},
                                  {0.85f, 0.45f, 0.6f}, {0.45f, 0.3f, 0.7f}};
    for (int k = 0; k < 16; ++k) {
        const float angle = PI * (0.15f + 0.7f * cellRandom(k, 1, 171));
        const float reach = 0.12f + 0.28f * cellRandom(k, 2, 171);
        const glm::vec2 centre(0.5f - std::cos(angle) * reach, 0.56f - std::sin(angle) * reach * 1.1f);
        const glm::vec2 d(u - centre.x, v - centre.y);
        const float r = std::hypot(d.x, d.y);
        const float size = 0.035f + 0.03f * cellRandom(k, 3, 171);
        const float petals = 0.75f + 0.25f * std::cos(std::atan2(d.y, d.x) * (5.0f + k % 3));
        if (r < size * 1.6f && r > size * petals && cellRandom(k, 4, 171) < 0.6f)
            c = glm::vec3(0.16f, 0.32f, 0.14f) * (0.8f + 0.4f * cellRandom(k, 5, 171));
        if (r < size * petals)
            c = colours[k % 5] * (0.75f + 0.25f * (1.0f - r / size));
        if (r < size * 0.22f)
            c = glm::vec3(0.35f, 0.22f, 0.05f);
    }
    return c;
}

// A birch wood in autumn: white trunks with dark marks before a golden canopy,
// a path of fallen leaves running into the light between them.
glm::vec3 paintBirches(float u, float v)
{
    glm::vec3 c = mix(glm::vec3(0.95f, 0.85f, 0.55f), glm::vec3(0.75f, 0.5f, 0.2f), smooth(0.1f, 0.6f, std::abs(u - 0.55f)));
    const float leaves = tilingNoise(u, v, 8, 8, 4, 181);
    if (v < 0.55f)
        c = mix(c, glm::vec3(0.85f, 0.55f, 0.15f) * (0.8f + 0.4f * leaves), smooth(0.0f, 0.3f, leaves + 0.2f));
    if (v >= 0.55f) {
        c = mix(glm::vec3(0.6f, 0.38f, 0.14f), glm::vec3(0.42f, 0.24f, 0.1f), smooth(0.55f, 1.0f, v)) * (0.85f + 0.3f * leaves);
        const float path = std::abs(u - 0.55f - 0.1f * (1.0f - v)) - 0.02f - 0.25f * (v - 0.55f);
        if (path < 0.0f)
            c = glm::vec3(0.82f, 0.62f, 0.32f) * (0.9f + 0.2f * leaves);
    }
    for (int k = 0; k < 9; ++k) {
        const float x = 0.05f + 0.11f * k + 0.04f * cellRandom(k, 1, 183);
        if (std::abs(x - 0.55f) < 0.08f)
            continue;
        const float width = 0.012f + 0.012f * cellRandom(k, 2, 183);
        const float foot = 0.6f + 0.3f * cellRandom(k, 3, 183);
        if (std::abs(u - x) < width && v < foot) {
            const bool mark = cellRandom(k, static_cast<int>(v * 60.0f), 184) > 0.75f;
            c = mark ? glm::vec3(0.15f, 0.13f, 0.12f) : glm::vec3(0.92f, 0.9f, 0.85f) * (0.8f + 0.2f * (u - x + width) / width);
        }
    }
    return c;
}

// A windmill on the polder in summer: a tall sky with drifting clouds over flat
// green land, a canal that mirrors the sky, and the mill with its four sails.
glm::vec3 paintWindmill(float u, float v)
{
    const float horizon = 0.7f;
    const float clouds = tilingNoise(u, v, 4, 4, 4, 191);
    glm::vec3 c = mix(glm::vec3(0.38f, 0.55f, 0.82f), glm::vec3(0.85f, 0.88f, 0.9f), smooth(0.0f, horizon, v));
    c = mix(c, glm::vec3(0.97f, 0.96f, 0.92f), smooth(0.1f, 0.4f, clouds) * (1.0f - smooth(0.45f, 0.65f, v)));
    if (v > horizon)
        c = mix(glm::vec3(0.35f, 0.5f, 0.2f), glm::vec3(0.25f, 0.4f, 0.15f), smooth(horizon, 1.0f, v));
    const float canal = 0.82f + 0.04f * (u - 0.5f);
    if (v > canal && v < canal + 0.04f)
        c = glm::vec3(0.55f, 0.68f, 0.85f);
    // The mill: a tapering body and cap, and four sails about the hub.
    const glm::vec2 hub(0.32f, 0.38f);
    const float body = 0.05f + 0.05f * (v - hub.y) / (horizon - hub.y);
    if (v > hub.y - 0.02f && v < horizon + 0.02f && std::abs(u - hub.x) < body)
        c = glm::vec3(0.3f, 0.22f, 0.18f);
    const glm::vec2 d(u - hub.x, v - hub.y);
    const float r = std::hypot(d.x, d.y), a = std::atan2(d.y, d.x) + 0.3f;
    if (r < 0.24f && r > 0.02f && std::abs(std::cos(2.0f * a)) > 0.96f)
        c = fract(r * 25.0f) < 0.3f ? glm::vec3(0.25f, 0.18f, 0.14f) : glm::vec3(0.85f, 0.8f, 0.72f);
    return c;
}

// One of the paintings: each shows a scene of its own, all in the same strokes.
glm::vec3 painting(float u, float v, int kind)
{
    glm::vec3 (*const scenes[7])(float, float) = {paintMountains, paintLake,    paintVillage, paintHarbour,
                                                  paintFlowers,   paintBirches, paintWindmill};
    const float brush = tilingNoise(u, v, 16, 64, 3, 121 + kind);
    return scenes[kind](u, v) * (0.9f + 0.15f * brush);
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

// The surfaces with relief, each written as its colour texture and relief map.
struct ReliefTexture {
    const char* file;
    int size;
    SurfaceTexel (*shade)(float u, float v);
    Relief relief;
};

const ReliefTexture RELIEF_TEXTURES[] = {
    {sceneTexture::FLOOR_WOOD, 512, floorPlanks, {0.3f, 0.5f, 3}},
    {sceneTexture::WALLPAPER, 256, wallpaper, {0.06f, 0.25f, 2}},
    {sceneTexture::BRICK, 512, brick, {0.8f, 0.6f, 6}},
    {sceneTexture::STONE, 256, hearthStone, {0.4f, 0.5f, 4}},
    {sceneTexture::DARK_WOOD, 256, darkWood, {0.08f, 0.3f, 2}},
    {sceneTexture::OAK_PANELLING, 512, oakPanelling, {0.6f, 0.5f, 4}},
    {sceneTexture::SOFA_FABRIC, 256, sofaFabric, {0.12f, 0.35f, 2}},
    {sceneTexture::KNIT, 256, knit, {0.3f, 0.45f, 3}},
    {sceneTexture::CURTAIN, 256, curtainVelvet, {0.15f, 0.15f, 3}},
};

} // namespace

std::string reliefMapFor(const std::string& colourTexture)
{
    for (const ReliefTexture& texture : RELIEF_TEXTURES)
        if (colourTexture == texture.file)
            return colourTexture.substr(0, colourTexture.rfind('.')) + "-relief.png";
    return "";
}

void writeSceneTextures(const std::string& dir)
{
    using namespace sceneTexture;
    auto path = [&](const std::string& name) { return dir + "/" + name; };
    writeImage(path(WHITE), 4, [](float, float) { return glm::vec3(1.0f); });
    for (const ReliefTexture& texture : RELIEF_TEXTURES)
        writeReliefImages(path(texture.file), path(reliefMapFor(texture.file)), texture.size, texture.shade,
                          texture.relief);
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
    for (int k = 0; k < 7; ++k)
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
