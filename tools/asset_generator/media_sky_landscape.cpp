// The landscape is a pure function of direction, so the six cube faces built from
// it meet without seams wherever they are cut. From far to near it is layered:
// the sky, a ring of snowy mountains, a forested ridge, a belt of distant firs
// and clumps of near firs standing on the snow, each veiled in more of the
// horizon's haze the farther away it is.
#include "media_sky_landscape.h"

#include "cell_random.h"

#include <glm/geometric.hpp>
#include <glm/trigonometric.hpp>
#include <glm/common.hpp>

#include <stb_perlin.h>

#include <algorithm>
#include <cmath>

namespace {

const glm::vec3 horizonHaze(0.84f, 0.88f, 0.92f);
const glm::vec3 zenithBlue(0.52f, 0.67f, 0.89f);

float smooth(float edge0, float edge1, float x)
{
    const float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

float fbm(const glm::vec3& p, int octaves)
{
    return stb_perlin_fbm_noise3(p.x, p.y, p.z, 2.0f, 0.5f, octaves);
}

// Mountain crest height in degrees of elevation, as a function of the horizontal
// heading only; sampling noise on the unit circle keeps it continuous all round.
float mountainCrestDegrees(float hx, float hz)
{
    const glm::vec3 onCircle(hx, 0.37f, hz);
    const float ridges = stb_perlin_ridge_noise3(onCircle.x * 2.3f, onCircle.y, onCircle.z * 2.3f,
                                                 2.0f, 0.55f, 1.0f, 5);
    const float roll = fbm(onCircle * 6.0f + glm::vec3(11.0f), 3);
    return std::max(0.8f, 1.5f + 9.0f * ridges + 2.0f * roll);
}

glm::vec3 sunGlow(const glm::vec3& d)
{
    const float facing = std::max(glm::dot(d, skySunDirection()), 0.0f);
    const float halo = std::pow(facing, 6.0f) * 0.22f + std::pow(facing, 90.0f) * 0.35f;
    const float disc = smooth(0.99970f, 0.99985f, facing);
    return glm::vec3(1.0f, 0.86f, 0.64f) * halo + glm::vec3(1.0f) * disc;
}

glm::vec3 skyColour(const glm::vec3& d, float elevation)
{
    const float height = std::clamp(elevation / glm::radians(90.0f), 0.0f, 1.0f);
    glm::vec3 colour = glm::mix(horizonHaze, zenithBlue, std::sqrt(height));
    // Thin high streaks of cloud, stretched along x, fading out at the horizon.
    const float streaks = fbm(glm::vec3(d.x * 1.5f, d.y * 5.0f, d.z * 5.0f) + glm::vec3(3.1f), 5);
    const float cloud = smooth(0.05f, 0.55f, streaks) * smooth(0.02f, 0.25f, height);
    colour = glm::mix(colour, glm::vec3(0.93f, 0.94f, 0.96f), 0.45f * cloud);
    return glm::min(colour + sunGlow(d), glm::vec3(1.0f));
}

// Rock and snow on a slope; (hx, hz) is the horizontal heading, so the pattern is
// laid out on a cylinder round the viewer and stays continuous all round.
glm::vec3 mountainColour(float hx, float hz, float elevation, float crest)
{
    const float up = std::min(elevation / crest, 1.0f);
    const float degrees = glm::degrees(elevation);
    const glm::vec3 surface(hx * 50.0f, degrees * 0.9f, hz * 50.0f);
    // Snow lies in vertical gullies and above a ragged snow line.
    const float gullies = stb_perlin_ridge_noise3(hx * 160.0f, degrees * 0.25f, hz * 160.0f, 2.0f, 0.5f, 1.0f, 3);
    const float snowLine = 0.55f + 0.35f * fbm(surface, 4);
    const float snow = std::max(smooth(snowLine - 0.06f, snowLine + 0.06f, up),
                                smooth(0.72f, 0.9f, gullies) * smooth(0.1f, 0.4f, up));
    const glm::vec3 rock(0.36f, 0.41f, 0.50f);
    const glm::vec3 snowCap(0.80f, 0.85f, 0.92f);
    // Slopes turned towards the low sun (at -x) catch a little more light.
    const float lit = 0.92f + 0.12f * fbm(surface * 0.4f + glm::vec3(7.0f), 2) - 0.06f * hx;
    const glm::vec3 colour = glm::mix(rock, snowCap, snow) * lit;
    // Distant range: a veil of haze, thickest at its foot.
    return glm::mix(colour, horizonHaze, 0.3f + 0.45f * (1.0f - up));
}

glm::vec3 groundColour(const glm::vec3& d)
{
    const float below = std::max(-d.y, 1e-4f);
    const float horizontal = std::sqrt(d.x * d.x + d.z * d.z);
    const float distance = horizontal / below;            // along the ice, eye height 1
    const glm::vec3 ground(d.x / below, 0.0f, d.z / below);
    const float detail = std::exp(-distance / 8.0f);      // fine detail only near the eye

    const glm::vec3 ice(0.66f, 0.75f, 0.81f);
    const glm::vec3 drift(0.86f, 0.89f, 0.92f);
    const float drifts = 0.7f * smooth(-0.1f, 0.35f, fbm(ground * 0.35f, 4));
    glm::vec3 colour = glm::mix(ice, drift, drifts);
    const float crack = stb_perlin_ridge_noise3(ground.x * 1.3f, 5.0f, ground.z * 1.3f, 2.0f, 0.5f, 1.0f, 3);
    colour = glm::mix(colour, glm::vec3(0.47f, 0.60f, 0.71f), smooth(0.78f, 0.95f, crack) * 0.6f * detail * (1.0f - drifts));
    colour *= 0.96f + 0.05f * fbm(ground * 3.0f, 2) * detail;

    // The low sun's glare on the ice, mirrored below its position.
    const glm::vec3 mirrored(d.x, -d.y, d.z);
    const float glare = std::pow(std::max(glm::dot(glm::normalize(mirrored), skySunDirection()), 0.0f), 40.0f);
    colour += glm::vec3(0.30f, 0.26f, 0.20f) * glare;

    const float haze = 1.0f - std::exp(-distance / 30.0f);
    return glm::min(glm::mix(colour, horizonHaze, haze), glm::vec3(1.0f));
}


// A forested ridge in front of the mountains: its crest in degrees, with the
// ragged tops of the trees on it.
float ridgeCrestDegrees(float azimuthDegrees, float hx, float hz)
{
    const float swell = fbm(glm::vec3(hx * 3.0f, 5.3f, hz * 3.0f), 3);
    const float treeTops = 0.18f * std::abs(std::sin(glm::radians(azimuthDegrees) * 140.0f));
    return 1.3f + 1.1f * swell + treeTops;
}

// One row of firs standing on the snow, all round the viewer: `count` places,
// each holding a tree with chance `share` (thinned in clumps), its foot
// `footDegrees` below the horizon, `heightDegrees` tall on average.
struct FirRow {
    int count;
    float share;
    float footDegrees, heightDegrees;
    float haze;
    int seed;
};

// How much of the direction a fir of the row covers (0..1), and how much snow
// lies on it there (0..1).
struct FirCover {
    float cover = 0.0f;
    float snow = 0.0f;
};

FirCover firCover(const FirRow& row, float azimuthDegrees, float elevationDegrees)
{
    const float spacing = 360.0f / static_cast<float>(row.count);
    const float place = (azimuthDegrees + 180.0f) / spacing;
    FirCover best;
    // A tree is wider than its place: the neighbours on both sides may reach here.
    for (int k = static_cast<int>(std::floor(place)) - 1; k <= static_cast<int>(std::floor(place)) + 1; ++k) {
        const int slot = (k % row.count + row.count) % row.count;
        const float clump = 0.5f + 0.5f * std::sin(slot * 0.37f + row.seed) * std::sin(slot * 0.11f + 2.0f * row.seed);
        if (cellRandom(slot, 0, row.seed) > row.share * (0.4f + 0.9f * clump))
            continue;
        const float height = row.heightDegrees * (0.7f + 0.6f * cellRandom(slot, 1, row.seed));
        const float trunkAt = (static_cast<float>(k) + 0.2f + 0.6f * cellRandom(slot, 2, row.seed)) * spacing;
        const float across = std::abs(azimuthDegrees + 180.0f - trunkAt);
        const float up = (elevationDegrees + row.footDegrees) / height;
        if (up < 0.0f || up > 1.0f)
            continue;
        // Tiers of branches, each widest at its drooping tips and narrowing up to
        // the next; a bare trunk at the foot.
        const float tier = up * 6.0f - std::floor(up * 6.0f);
        const float halfWidth = up < 0.08f ? 0.03f * height : 0.32f * height * (1.0f - up) * (0.55f + 0.45f * (1.0f - tier));
        const float feather = 0.2f;
        const float cover = 1.0f - smooth(halfWidth - feather, halfWidth + feather, across);
        if (cover > best.cover) {
            best.cover = cover;
            best.snow = smooth(0.45f, 0.95f, across / std::max(halfWidth, 1e-3f)) * (1.0f - tier) * 0.8f;
        }
    }
    return best;
}

// The two rows of firs, farther first.
const FirRow firRows[2] = {
    {900, 0.75f, 0.25f, 2.0f, 0.45f, 11},
    {260, 0.5f, 1.4f, 5.5f, 0.12f, 23},
};

// Paints the fir rows over `behind`, the farther row first.
glm::vec3 withFirs(glm::vec3 behind, float azimuthDegrees, float elevationDegrees)
{
    const glm::vec3 needles(0.07f, 0.15f, 0.12f), snow(0.82f, 0.86f, 0.92f);
    for (const FirRow& row : firRows) {
        const FirCover fir = firCover(row, azimuthDegrees, elevationDegrees);
        if (fir.cover <= 0.0f)
            continue;
        const glm::vec3 tree = glm::mix(glm::mix(needles, snow, fir.snow), horizonHaze, row.haze);
        behind = glm::mix(behind, tree, fir.cover);
    }
    return behind;
}
} // namespace

glm::vec3 skySunDirection()
{
    const float e = glm::radians(skySunElevationDegrees);
    return glm::vec3(-std::cos(e), std::sin(e), 0.0f);
}

glm::vec3 skyLandscapeColour(const glm::vec3& direction)
{
    const glm::vec3 d = glm::normalize(direction);
    const float horizontal = std::sqrt(d.x * d.x + d.z * d.z);
    const float elevation = std::atan2(d.y, horizontal);
    if (horizontal < 0.5f)
        return elevation < 0.0f ? groundColour(d) : skyColour(d, elevation);
    const float hx = d.x / horizontal, hz = d.z / horizontal;
    const float azimuth = glm::degrees(std::atan2(hz, hx));
    const float degrees = glm::degrees(elevation);
    // Soften every outline over about one texel so that it does not stair-step.
    const float feather = 0.12f;
    glm::vec3 colour;
    if (elevation < 0.0f) {
        colour = groundColour(d);
    } else {
        colour = skyColour(d, elevation);
        const float crest = mountainCrestDegrees(hx, hz);
        if (degrees < crest + feather)
            colour = glm::mix(mountainColour(hx, hz, elevation, glm::radians(crest)), colour,
                              smooth(crest - feather, crest + feather, degrees));
        const float ridge = ridgeCrestDegrees(azimuth, hx, hz);
        if (degrees < ridge + feather) {
            const float shade = 0.9f + 0.2f * fbm(glm::vec3(hx * 40.0f, degrees * 2.0f, hz * 40.0f), 2);
            const glm::vec3 forest = glm::mix(glm::vec3(0.16f, 0.24f, 0.24f) * shade, horizonHaze, 0.55f);
            colour = glm::mix(forest, colour, smooth(ridge - feather, ridge + feather, degrees));
        }
    }
    return withFirs(colour, azimuth, degrees);
}
