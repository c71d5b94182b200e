// The camera route: the anchors of a tour through the room, joined by cubic
// Bezier segments flown in equal times. The camera looks along the curve's
// tangent, so each anchor carries the heading the view has there; both handles
// lie on that heading (every joint is smooth) at a third of the neighbouring
// chord, so the speed stays even across each joint.
#include "generators.h"
#include "layout/scene_layout.h"
#include "scene_mesh.h"
#include "written_file.h"

#include <glm/glm.hpp>

#include <array>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace {

struct Anchor {
    glm::vec3 position; // world units, eye 52..59 above the floor
    glm::vec3 heading;  // where the view points there (normalised on use)
};

// The tour enters from the front-right corner looking at the fire, crosses the
// room westwards to the side table's corner, turns through the left windows'
// corner and comes back along the front, over the sofa's end to the fire, along
// the hearth to the tree, turns through the front-right corner and ends over
// the sofa's back, looking at the left windows for the sunset. The turns are
// timed so that the views on the 5-s marks (each anchor, and half-way between
// two, where the view runs along the chord) look across the room at a window, a
// painting, the fire or the tree rather than into a nearby bare wall. Every
// segment is 52..71 units long, so each is flown at nearly the same pace, and
// the eye keeps more than 12 units from every surface.
constexpr std::array<Anchor, layout::ROUTE_SEGMENTS + 1> ROUTE = {{
    {{360, 58, -122}, {-0.88f, -0.06f, 0.47f}}, // the fire and both left windows past the sofa
    {{298, 56, -95}, {-0.95f, -0.06f, 0.28f}},  // the fire, the wine on the table and the cat on the sofa
    {{236, 54, -80}, {-1.00f, -0.06f, 0.08f}},  // the left windows, sunlit floor, the sitting cat
    {{176, 52, -68}, {-0.90f, -0.08f, 0.42f}},  // the side table with its candle, a window, the village
    {{110, 55, -50}, {-0.90f, -0.06f, -0.42f}}, // the snowy window over the side table's candle
    {{72, 57, -95}, {0.00f, -0.06f, -1.00f}},   // along the left wall: the far window, the birch wood
    {{110, 60, -132}, {1.00f, -0.06f, 0.10f}},  // along the front to the tree, past the sofa's back
    {{160, 64, -124}, {0.70f, -0.12f, 0.70f}},  // over the sofa's end: the tree, the mantel and the fire
    {{206, 54, -92}, {0.12f, -0.12f, 0.99f}},   // the fire framed by stone, the candles above it
    {{257, 57, -58}, {1.00f, -0.04f, -0.10f}},  // past the hearth to the tree and its presents
    {{312, 57, -70}, {0.70f, -0.06f, -0.70f}},  // the tree beside the right front window, the mountains
    {{332, 58, -122}, {-0.35f, -0.06f, -0.94f}}, // the windmill between the front windows
    {{270, 62, -134}, {-0.95f, -0.06f, -0.20f}}, // along the front: the left windows beyond the sofa's back
    {{215, 64, -128}, {-0.95f, -0.15f, 0.30f}},  // the sunset: the left windows over the sitting cat
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
    std::FILE* file = openForWriting(path);
    for (const glm::vec3& p : points)
        for (int k = 0; k < 3; ++k)
            std::fprintf(file, "%.4f\n", p[k] * MODEL_UNITS_PER_WORLD_UNIT);
    closeWritten(file, path);
}
