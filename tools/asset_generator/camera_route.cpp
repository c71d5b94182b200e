// The camera route: 14 anchors of a tour through the room, joined by 13 cubic
// Bezier segments. Each anchor's two handles lie on one line through it (along
// the direction of travel, which is also the view direction), so every joint is
// smooth; handle lengths are a third of the neighbouring chords.
#include "generators.h"
#include "scene_mesh.h"

#include <glm/glm.hpp>

#include <array>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace {

// World units, at eye height. The first view takes in the fireplace and a left
// window; the tour passes the tree and presents, the fireplace, the side table,
// the windows with the snow behind the sofa, and ends facing the left windows
// where the low sun throws their shapes across the floor.
constexpr std::array<glm::vec3, 14> ANCHORS = {{
    {330, 44, -140}, {292, 42, -95}, {290, 40, -50}, {245, 40, -34}, {170, 42, -40},
    {110, 42, -62},  {98, 44, -108}, {135, 44, -150}, {230, 44, -150}, {320, 44, -132},
    {318, 44, -88},  {295, 46, -50}, {240, 48, -45},  {170, 50, -55},
}};
const glm::vec3 FIRST_DIRECTION(-0.75f, -0.12f, 0.65f);
const glm::vec3 LAST_DIRECTION(-1.0f, -0.3f, 0.05f);

glm::vec3 directionAt(size_t i)
{
    if (i == 0)
        return glm::normalize(FIRST_DIRECTION);
    if (i + 1 == ANCHORS.size())
        return glm::normalize(LAST_DIRECTION);
    // Through the anchor, parallel to its neighbours' chord, levelled a little so
    // the view never tips far up or down.
    glm::vec3 d = glm::normalize(ANCHORS[i + 1] - ANCHORS[i - 1]);
    d.y = d.y * 0.5f - 0.12f;
    return glm::normalize(d);
}

} // namespace

void writeCameraRoute(const std::string& assets)
{
    std::vector<glm::vec3> points;
    for (size_t i = 0; i < ANCHORS.size(); ++i) {
        const glm::vec3 d = directionAt(i);
        if (i > 0)
            points.push_back(ANCHORS[i] - d * (glm::distance(ANCHORS[i], ANCHORS[i - 1]) / 3.0f));
        points.push_back(ANCHORS[i]);
        if (i + 1 < ANCHORS.size())
            points.push_back(ANCHORS[i] + d * (glm::distance(ANCHORS[i], ANCHORS[i + 1]) / 3.0f));
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
