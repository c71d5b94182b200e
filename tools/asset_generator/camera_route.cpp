// The camera route: 14 anchors of a tour through the room, joined by 13 cubic
// Bezier segments flown 10 s each. The camera looks along the curve's tangent,
// so each anchor carries the heading the view has there; both handles lie on
// that heading (every joint is smooth) at a third of the neighbouring chord, so
// the speed stays even across each joint.
#include "generators.h"
#include "scene_mesh.h"

#include <glm/glm.hpp>

#include <array>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace {

struct Anchor {
    glm::vec3 position; // world units, eye 48..56 above the floor
    glm::vec3 heading;  // where the view points there (normalised on use)
};

// The room is a ring around the sofa: open floor at the left windows, a lane
// between the sofa and the fire, a lane between the sofa and the tree, and open
// floor before the front-right window. The tour keeps 20+ units from furniture
// and curtains and turns where the floor is widest, so every heading looks
// across the room rather than into a nearby wall.
constexpr std::array<Anchor, 14> ROUTE = {{
    {{372, 56, -128}, {-0.88f, -0.08f, 0.45f}}, // the fire and a left window with snow, over the sofa
    {{300, 52, -85}, {-0.84f, -0.07f, 0.54f}},  // up the tree lane towards the mantelpiece
    {{240, 50, -42}, {-0.98f, -0.06f, 0.16f}},  // past the fire, the left windows ahead
    {{150, 48, -60}, {-0.90f, -0.06f, -0.43f}}, // the side table and both left windows
    {{122, 48, -112}, {-1.00f, -0.03f, 0.12f}}, // facing the left wall: windows, snow, painting
    {{84, 48, -82}, {0.15f, 0.00f, 1.00f}},     // turning past the side table's candle
    {{118, 48, -52}, {1.00f, 0.00f, 0.35f}},    // the fireplace from the side
    {{200, 49, -44}, {1.00f, -0.04f, 0.01f}},   // along the hearth towards the tree and presents
    {{265, 50, -50}, {0.92f, -0.05f, -0.39f}},  // the sofa with the cat and blanket below
    {{310, 50, -90}, {0.72f, 0.00f, -0.70f}},   // past the presents, the right wall's painting
    {{362, 52, -118}, {0.10f, 0.00f, -1.00f}},  // the front-right window with snow
    {{300, 52, -136}, {-0.85f, 0.00f, 0.53f}},  // across the whole room to the left windows
    {{275, 50, -68}, {-0.75f, -0.06f, 0.66f}},  // the fireplace again
    {{150, 52, -45}, {0.70f, -0.25f, -0.67f}},  // the sunset: light across the floor, sky in the front windows
}};

} // namespace

void writeCameraRoute(const std::string& assets)
{
    std::vector<glm::vec3> points;
    for (size_t i = 0; i < ROUTE.size(); ++i) {
        const glm::vec3 anchor = ROUTE[i].position;
        const glm::vec3 heading = glm::normalize(ROUTE[i].heading);
        if (i > 0)
            points.push_back(anchor - heading * (glm::distance(anchor, ROUTE[i - 1].position) / 3.0f));
        points.push_back(anchor);
        if (i + 1 < ROUTE.size())
            points.push_back(anchor + heading * (glm::distance(anchor, ROUTE[i + 1].position) / 3.0f));
    }
    const std::string dir = assets + "/scene";
    std::filesystem::create_directories(dir);
    const std::string path = dir + "/curve-controlpoints-handles.txt";
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        throw std::runtime_error("cannot write " + path);
    for (const glm::vec3& p : points)
        for (int k = 0; k < 3; ++k)
            std::fprintf(file, "%.4f\n", p[k] * MODEL_UNITS_PER_WORLD_UNIT);
    std::fclose(file);
}
