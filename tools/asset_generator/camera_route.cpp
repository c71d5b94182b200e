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

// The tour enters diagonally from the front-right corner and then circles the
// coffee table three times, each circuit a little higher. Every turn happens in
// the middle of the room, so its sweep looks across the room at the windows, the
// side-table corner, the fireplace, the tree or the sofa, never into a nearby
// wall. Every segment is 53..68 units long, so each is flown at nearly the
// same pace. The eye passes 5+ units from the sofa's blanket and further from
// everything else.
constexpr std::array<Anchor, layout::ROUTE_SEGMENTS + 1> ROUTE = {{
    {{360, 56, -122}, {-0.88f, -0.08f, 0.45f}}, // the fire and a left window with snow, over the sofa
    {{298, 56, -95}, {-0.95f, -0.08f, 0.25f}},  // the fire, the coffee table and the cat on the sofa
    {{232, 55, -79}, {-1.00f, -0.06f, 0.05f}},  // the left windows, sunlit floor, the sitting cat
    {{172, 52, -68}, {-0.90f, -0.10f, 0.40f}},  // the side table with its candle, window and painting
    {{217, 52, -45}, {1.00f, -0.05f, 0.00f}},   // past the mantel candles towards the tree and presents
    {{277, 53, -45}, {-0.50f, -0.08f, -0.85f}}, // the sofa with cat and blanket, a front window
    {{240, 53, -80}, {-1.00f, -0.06f, 0.00f}},  // the left windows again
    {{199, 54, -53}, {0.00f, -0.08f, 1.00f}},   // the fire and the mantel with its candles
    {{256, 55, -40}, {0.70f, -0.07f, -0.70f}},  // the tree, a right-wall painting, a front window
    {{228, 56, -80}, {-1.00f, -0.08f, 0.00f}},  // the left windows over the sitting cat
    {{172, 58, -66}, {-0.90f, -0.14f, 0.40f}},  // the side table corner from higher up
    {{220, 59, -40}, {1.00f, -0.10f, 0.00f}},   // the tree beyond the mantel candles
    {{272, 59, -54}, {-0.50f, -0.10f, -0.85f}}, // the front windows over the sofa
    {{224, 57, -79}, {-1.00f, -0.15f, 0.00f}},  // the sunset: light across the floor, sky in the left windows
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
