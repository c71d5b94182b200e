// The furniture and small things of the room: sofa and blanket, the two tables,
// book and glasses, cigar and ashtray, candles, pictures, curtains and cats.
#include "layout/scene_layout.h"
#include "scene_builders.h"
#include "scene_textures.h"

#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace layout;

namespace {

constexpr float PI = 3.14159265358979f;

// A surface point on a polyline profile in the (z, y) plane, t in 0..1.
glm::vec2 alongProfile(const std::vector<glm::vec2>& points, float t)
{
    std::vector<float> length{0.0f};
    for (size_t i = 1; i < points.size(); ++i)
        length.push_back(length.back() + glm::length(points[i] - points[i - 1]));
    const float target = t * length.back();
    for (size_t i = 1; i < points.size(); ++i)
        if (target <= length[i] || i + 1 == points.size()) {
            const float f = (target - length[i - 1]) / std::max(length[i] - length[i - 1], 1e-6f);
            return points[i - 1] + (points[i] - points[i - 1]) * std::min(f, 1.0f);
        }
    return points.back();
}

// The sofa's upholstery: rounded boxes placed from the sofa's centre, the back
// cushions leaning back. The blanket is draped over the same shapes.
struct Cushion {
    glm::vec3 half;
    float radius;
    glm::vec3 centre; // from SOFA_CENTRE
    float tilt;       // about x, radians

    glm::mat4 frame() const { return glm::rotate(translation(SOFA_CENTRE + centre), tilt, glm::vec3(1, 0, 0)); }
    // Signed distance from a world point to the cushion's surface.
    float distance(const glm::vec3& p) const
    {
        const glm::vec3 d = p - (SOFA_CENTRE + centre);
        const float c = std::cos(tilt), sn = std::sin(tilt);
        const glm::vec3 local(d.x, c * d.y + sn * d.z, -sn * d.y + c * d.z);
        const glm::vec3 q = glm::abs(local) - (half - glm::vec3(radius));
        return glm::length(glm::max(q, glm::vec3(0.0f))) + std::min(std::max(q.x, std::max(q.y, q.z)), 0.0f) - radius;
    }
};

std::vector<Cushion> sofaCushions()
{
    std::vector<Cushion> cushions = {{{46, 7, 18}, 3.0f, {0, 11, -1}, 0.0f}, {{46, 16, 4}, 3.0f, {0, 30, -16}, 0.0f}};
    for (float side : {-1.0f, 1.0f}) {
        cushions.push_back({{22, 4, 15}, 3.0f, {side * 22.5f, 19, 3}, 0.0f});
        cushions.push_back({{21, 11, 4}, 4.0f, {side * 22.5f, 32, -9}, -0.17f});
        cushions.push_back({{4, 13, 19}, 3.5f, {side * 46.0f, 17, -1}, 0.0f});
    }
    return cushions;
}

float sofaDistance(const std::vector<Cushion>& cushions, const glm::vec3& p)
{
    float d = 1e30f;
    for (const Cushion& c : cushions)
        d = std::min(d, c.distance(p));
    return d;
}

constexpr float BLANKET_THICKNESS = 0.4f;

// The blanket as a grid of (across + 1) x (along + 1) points, row by row. It
// starts as a sheet laid along a profile over the back of the sofa's right half,
// down onto the seat and over its front edge; every point near the upholstery
// is drawn onto it, then the sheet is smoothed so that it bridges the creases
// between the cushions, and pushed out wherever it comes closer than its own
// thickness and a margin: both of its faces stay clear of the sofa. Soft folds
// only ever lift it further off.
std::vector<glm::vec3> drapeOverSofa(int across, int along)
{
    const std::vector<Cushion> cushions = sofaCushions();
    const float clearance = BLANKET_THICKNESS + 0.5f, resting = 2.5f;
    const std::vector<glm::vec2> drape = {{-21.5f, 30}, {-21, 47}, {-17, 49}, {-11, 47}, {-7, 37},
                                          {-4, 26}, {8, 25}, {18.5f, 24}, {21, 19}, {21.5f, 9}};
    const size_t row = static_cast<size_t>(across) + 1;
    std::vector<glm::vec3> points;
    for (int j = 0; j <= along; ++j)
        for (int i = 0; i <= across; ++i) {
            const glm::vec2 zy = alongProfile(drape, float(j) / along);
            points.push_back(SOFA_CENTRE + glm::vec3(5.0f + 36.0f * float(i) / across, zy.y, zy.x));
        }
    // The direction away from the sofa, by central differences.
    auto gradient = [&](const glm::vec3& p) {
        glm::vec3 g;
        for (int k = 0; k < 3; ++k) {
            glm::vec3 e(0.0f);
            e[k] = 0.05f;
            g[k] = sofaDistance(cushions, p + e) - sofaDistance(cushions, p - e);
        }
        return glm::normalize(g);
    };
    // Moves p onto the surface `clearance` off the sofa from anywhere closer to
    // the sofa, or from up to `reach` beyond that surface.
    auto settle = [&](glm::vec3& p, float reach) {
        for (int k = 0; k < 4; ++k) {
            const float d = sofaDistance(cushions, p);
            if (d >= clearance + reach || std::abs(d - clearance) < 1e-3f)
                return;
            p -= gradient(p) * (d - clearance);
        }
    };
    for (glm::vec3& p : points)
        settle(p, resting);
    for (int pass = 0; pass < 40; ++pass) {
        std::vector<glm::vec3> smoothed = points;
        for (int j = 1; j < along; ++j)
            for (int i = 0; i <= across; ++i) {
                const size_t k = j * row + i;
                // Along the drape only: across it the sheet follows the cushions.
                smoothed[k] = glm::mix(points[k], (points[k - row] + points[k + row]) * 0.5f, 0.5f);
            }
        points = smoothed;
        for (glm::vec3& p : points)
            settle(p, 0.0f);
    }
    for (int j = 0; j <= along; ++j)
        for (int i = 0; i <= across; ++i) {
            const float s = float(i) / across, t = float(j) / along;
            const float fold = 0.5f + 0.5f * std::sin(2.0f * PI * (3.0f * s + 0.7f * t));
            glm::vec3& p = points[j * row + i];
            p += gradient(p) * (0.8f * fold * (0.3f + 0.7f * t));
        }
    for (int pass = 0; pass < 3; ++pass)
        for (glm::vec3& p : points)
            settle(p, 0.0f);
    return points;
}

std::vector<glm::vec2> candleHolderProfile()
{
    return {{0, 0}, {3.2f, 0}, {3.4f, 0.5f}, {3.0f, 0.8f}, {1.0f, 1.2f}, {0.7f, 3.0f},
            {1.2f, 4.0f}, {2.2f, 4.4f}, {2.2f, 5.0f}, {0, 5.0f}};
}

// A candle of `height` standing in a brass holder at `base`: the wax side up to a
// rounded rim, the melted well inside it, the wick and a teardrop flame around
// the wick's tip. Side and well are separate meshes so that each gets the whole
// of its own texture, whatever the candle's height.
void addCandle(SceneMesh& mesh, const glm::vec3& base, float height)
{
    addLathe(mesh.group("holders", "brass"), candleHolderProfile(), 16, translation(base));
    const glm::mat4 wax = translation(base + glm::vec3(0, 5.0f, 0));
    const float h = height, well = h - 0.5f;
    addLathe(mesh.group("candles", "wax"), {{0, 0}, {1.5f, 0}, {1.5f, h - 0.3f}, {1.46f, h - 0.08f}, {1.36f, h}},
             16, wax);
    addLathe(mesh.group("candle_wells", "wax_well"),
             {{1.36f, h}, {1.12f, h - 0.12f}, {0.7f, well + 0.08f}, {0.3f, well}, {0, well}}, 16, wax);
    addLathe(mesh.group("wicks", "wick"), {{0, well}, {0.12f, well}, {0.1f, h + 0.7f}, {0, h + 0.9f}}, 6, wax);
    addLathe(mesh.group("flames", "flame"),
             {{0, h + 0.1f}, {0.3f, h + 0.3f}, {0.52f, h + 0.8f}, {0.6f, h + 1.4f}, {0.48f, h + 2.2f},
              {0.22f, h + 3.0f}, {0, h + 3.5f}},
             12, wax);
}

void addCandleMaterials(SceneMesh& mesh)
{
    using namespace sceneTexture;
    // Brass is a metal: it reflects rather than scatters, and its highlight takes
    // its own golden colour.
    mesh.addMaterial(makeMaterial("brass", {0.42f, 0.31f, 0.13f}, "", glm::vec3(1.0f, 0.8f, 0.45f), 120.0f));
    // Wax lets light in and scatters it: a raised ambient colour keeps its shadowed
    // side soft and light instead of grey, leaning blue against the fire's orange
    // ambient light so that it reads ivory rather than tan; a broad dull sheen
    // replaces a plastic highlight. The well, lit from just above by the flame,
    // glows more.
    SceneMaterial wax = makeMaterial("wax", glm::vec3(1.0f), CANDLE_WAX, glm::vec3(0.1f), 8.0f);
    wax.ambient = glm::vec3(4.5f, 5.6f, 6.4f);
    mesh.addMaterial(wax);
    SceneMaterial well = makeMaterial("wax_well", glm::vec3(1.0f), CANDLE_WELL, glm::vec3(0.3f), 60.0f);
    well.ambient = glm::vec3(7.0f, 8.5f, 9.5f);
    mesh.addMaterial(well);
    mesh.addMaterial(makeMaterial("wick", {0.1f, 0.08f, 0.06f}, "", glm::vec3(0.0f), 1.0f));
    // A flame gives light rather than takes it: the ambient term alone, with an
    // ambient colour this large, drives its core to near white in any light; the
    // small diffuse share lets the fire's flicker play on it.
    SceneMaterial flame = makeMaterial("flame", glm::vec3(0.3f), CANDLE_FLAME, glm::vec3(0.0f), 1.0f);
    flame.ambient = glm::vec3(40.0f);
    mesh.addMaterial(flame);
}

// A frame (local a along the wall, b up, depth into the room).
struct WallSpot {
    glm::vec3 centre, along, inward;
    glm::mat4 frame() const
    {
        glm::mat4 m(1.0f);
        m[0] = glm::vec4(along, 0);
        m[1] = glm::vec4(0, 1, 0, 0);
        m[2] = glm::vec4(inward, 0);
        m[3] = glm::vec4(centre, 1);
        return m;
    }
};

} // namespace

SceneMesh buildSofa()
{
    SceneMesh mesh;
    mesh.addMaterial(makeMaterial("sofa_fabric", glm::vec3(1.0f), sceneTexture::SOFA_FABRIC, glm::vec3(0.08f), 6.0f));
    mesh.addMaterial(makeMaterial("sofa_legs", glm::vec3(0.9f), sceneTexture::DARK_WOOD, glm::vec3(0.24f), 60.0f));
    MeshGroup& fabric = mesh.group("sofa", "sofa_fabric");
    for (const Cushion& c : sofaCushions())
        addRoundedBox(fabric, c.half, c.radius, 3, 1.0f / 24.0f, c.frame());
    MeshGroup& legs = mesh.group("sofa_legs", "sofa_legs");
    for (float x : {-44.0f, 44.0f})
        for (float z : {-16.0f, 14.0f})
            addLathe(legs, {{0, 0}, {1.2f, 0}, {1.8f, 4.5f}, {0, 4.5f}}, 10, translation(SOFA_CENTRE + glm::vec3(x, 0, z)));
    return mesh;
}

SceneMesh buildBlanket()
{
    SceneMesh mesh;
    mesh.addMaterial(makeMaterial("knitted_wool", glm::vec3(1.0f), sceneTexture::KNIT, glm::vec3(0.05f), 4.0f));
    const int across = 30, along = 48;
    const std::vector<glm::vec3> lying = drapeOverSofa(across, along);
    // The sheet between the grid's points, which addSheet samples exactly there.
    auto at = [&](float s, float t) {
        const float i = std::clamp(s * across, 0.0f, float(across)), j = std::clamp(t * along, 0.0f, float(along));
        const int i0 = std::min(static_cast<int>(i), across - 1), j0 = std::min(static_cast<int>(j), along - 1);
        const float fi = i - i0, fj = j - j0;
        auto p = [&](int a, int b) { return lying[static_cast<size_t>(b) * (across + 1) + a]; };
        return glm::mix(glm::mix(p(i0, j0), p(i0 + 1, j0), fi), glm::mix(p(i0, j0 + 1), p(i0 + 1, j0 + 1), fi), fj);
    };
    addSheet(mesh.group("blanket", "knitted_wool"), at, across, along, {2, 3}, true, BLANKET_THICKNESS);
    return mesh;
}

SceneMesh buildTables()
{
    SceneMesh mesh;
    // French-polished: a sharp, bright highlight.
    mesh.addMaterial(makeMaterial("table_wood", glm::vec3(1.0f), sceneTexture::DARK_WOOD, glm::vec3(0.25f), 90.0f));
    MeshGroup& coffee = mesh.group("coffee_table", "table_wood");
    const glm::vec3 c = COFFEE_TABLE;
    addRoundedBox(coffee, {23, 1.2f, 11}, 1.0f, 2, 1.0f / 30.0f, translation(c + glm::vec3(0, COFFEE_TABLE_HEIGHT - 1.2f, 0)));
    addChamferedBox(coffee, c + glm::vec3(-20, 6, -8), c + glm::vec3(20, 7.2f, 8), 0.3f, 1.0f / 30.0f);
    for (float x : {-20.0f, 20.0f})
        for (float z : {-8.0f, 8.0f})
            addLathe(coffee, {{0, 0}, {1.0f, 0}, {1.6f, 10}, {1.3f, 18.6f}, {0, 18.6f}}, 10, translation(c + glm::vec3(x, 0, z)));

    MeshGroup& side = mesh.group("side_table", "table_wood");
    const float h = SIDE_TABLE_HEIGHT, r = SIDE_TABLE_RADIUS;
    addLathe(side, {{0, 0}, {8, 0}, {8, 1.5f}, {3, 2.5f}, {1.8f, 6}, {2.6f, 12}, {1.6f, 20}, {2.2f, h - 3},
                    {6, h - 2}, {r, h - 2}, {r + 0.4f, h - 1}, {r, h}, {0, h}},
             24, translation(SIDE_TABLE), {1, 3});
    return mesh;
}

SceneMesh buildBookGlasses()
{
    SceneMesh mesh;
    mesh.addMaterial(makeMaterial("book_cover", glm::vec3(1.0f), sceneTexture::BOOK_COVER, glm::vec3(0.22f), 24.0f));
    mesh.addMaterial(makeMaterial("book_pages", {0.92f, 0.88f, 0.76f}));
    // Clear glass shows what lies behind it and the highlights on it, rarely a
    // colour of its own: dark and cool, with a small, intense highlight and a
    // bright rim where it turns away from the eye. Below the
    // wine's surface the bowl shows the wine through the glass.
    mesh.addMaterial(makeMaterial("glass", {0.1f, 0.12f, 0.14f}, "", glm::vec3(0.25f), 400.0f));
    mesh.addMaterial(makeMaterial("glass_with_wine", {0.38f, 0.05f, 0.08f}, "", glm::vec3(0.25f), 400.0f));
    mesh.addMaterial(makeMaterial("red_wine", {0.35f, 0.02f, 0.05f}, "", glm::vec3(0.22f), 300.0f));
    const float top = COFFEE_TABLE_HEIGHT;
    const glm::mat4 book = placed(COFFEE_TABLE + glm::vec3(-9, top, -1), 0.35f);
    addBox(mesh.group("book_cover", "book_cover"), {-6, 0, -8}, {6, 0.3f, 8}, 1.0f / 12.0f, book);
    addBox(mesh.group("book_cover", ""), {-6, 1.9f, -8}, {6, 2.2f, 8}, 1.0f / 12.0f, book);
    addBox(mesh.group("book_cover", ""), {-6.2f, 0, -8}, {-5.8f, 2.2f, 8}, 1.0f / 12.0f, book);
    addBox(mesh.group("book_pages", "book_pages"), {-5.8f, 0.3f, -7.8f}, {5.8f, 1.9f, 7.8f}, 0.1f, book);

    // A goblet's profile from the foot up the outside to the rim and back down the
    // inside; the band of the outside below the wine's surface is drawn apart.
    const std::vector<glm::vec2> stem = {{0, 0}, {2.8f, 0}, {2.8f, 0.3f}, {0.5f, 0.6f}, {0.35f, 5}, {1.8f, 6}};
    const std::vector<glm::vec2> filled = {{1.8f, 6}, {2.45f, 6.9f}, {2.9f, 8}};
    const std::vector<glm::vec2> bowl = {{2.9f, 8}, {2.7f, 11}, {2.5f, 11}, {2.6f, 8.2f}, {1.7f, 6.3f}, {0, 6.1f}};
    for (const glm::vec3& at : {glm::vec3(12, 0, 4), glm::vec3(17, 0, -4)}) {
        const glm::mat4 m = translation(COFFEE_TABLE + glm::vec3(0, top, 0) + at);
        addLathe(mesh.group("glasses", "glass"), stem, 18, m);
        addLathe(mesh.group("glasses", ""), bowl, 18, m);
        addLathe(mesh.group("glasses_wine", "glass_with_wine"), filled, 18, m);
        addLathe(mesh.group("wine", "red_wine"), {{0, 6.2f}, {1.7f, 6.4f}, {2.45f, 8.0f}, {0, 8.0f}}, 18, m);
    }
    return mesh;
}

SceneMesh buildCigar()
{
    SceneMesh mesh;
    mesh.addMaterial(makeMaterial("ashtray_glass", {0.12f, 0.16f, 0.18f}, "", glm::vec3(0.25f), 400.0f));
    mesh.addMaterial(makeMaterial("cigar_leaf", {0.36f, 0.2f, 0.1f}, "", glm::vec3(0.1f), 10.0f));
    SceneMaterial ember = makeMaterial("ember", {1.0f, 0.42f, 0.1f});
    ember.ambient = glm::vec3(1.0f, 0.45f, 0.15f) * 4.0f;
    mesh.addMaterial(ember);
    // The ashtray's rim holds the cigar, whose glowing tip is over the bowl.
    const glm::vec3 tray = CIGAR_TIP + glm::vec3(-4.0f, 0.0f, -0.5f);
    addLathe(mesh.group("ashtray", "ashtray_glass"),
             {{0, 0}, {5, 0}, {5.3f, 1.5f}, {5.0f, 2.0f}, {4.2f, 2.0f}, {3.8f, 0.7f}, {0, 0.7f}}, 24,
             translation({tray.x, SIDE_TABLE_HEIGHT, tray.z}));
    const glm::vec3 towardEnd = glm::normalize(glm::vec3(0.9f, -0.2f, -0.35f));
    const glm::vec3 end = CIGAR_TIP + towardEnd * 9.0f;
    const glm::vec3 burning = CIGAR_TIP + towardEnd * 0.8f;
    addLathe(mesh.group("cigar", "cigar_leaf"), {{0, 0}, {0.7f, 0}, {0.8f, 0.05f}, {0.8f, 1}, {0, 1}}, 12,
             alongAxis(end, burning - end, 1.0f));
    addLathe(mesh.group("cigar_tip", "ember"), {{0, 0}, {0.8f, 0}, {0.75f, 0.7f}, {0.4f, 1}, {0, 1}}, 12,
             alongAxis(burning, CIGAR_TIP - burning, 1.0f));
    return mesh;
}

SceneMesh buildMantelCandles()
{
    SceneMesh mesh;
    addCandleMaterials(mesh);
    const float z = (MANTEL_FRONT + BREAST_FRONT) / 2.0f;
    addCandle(mesh, {184.0f, MANTEL_TOP, z}, 14.0f);
    addCandle(mesh, {195.0f, MANTEL_TOP, z}, 9.0f);
    addCandle(mesh, {238.0f, MANTEL_TOP, z}, 12.0f);
    return mesh;
}

SceneMesh buildSideCandle()
{
    SceneMesh mesh;
    addCandleMaterials(mesh);
    addCandle(mesh, SIDE_CANDLE, 11.0f);
    return mesh;
}

SceneMesh buildPictures()
{
    SceneMesh mesh;
    mesh.addMaterial(makeMaterial("gilt_frame", {0.45f, 0.33f, 0.14f}, "", glm::vec3(0.95f, 0.78f, 0.45f), 60.0f));
    // Each frame shows a scene of its own (the index into PAINTING), the tall one
    // the flowers; two hang on the front wall beside its windows.
    const struct {
        WallSpot spot;
        float width, height;
        int painting;
    } pictures[] = {
        {{{LEFT, 84, -92.5f}, {0, 0, -1}, {1, 0, 0}}, 30, 38, 4},
        {{{RIGHT, 82, -60}, {0, 0, 1}, {-1, 0, 0}}, 56, 38, 0},
        {{{RIGHT, 80, -128}, {0, 0, 1}, {-1, 0, 0}}, 44, 32, 3},
        {{{105, 84, BACK}, {-1, 0, 0}, {0, 0, -1}}, 50, 36, 2},
        {{{310, 84, BACK}, {-1, 0, 0}, {0, 0, -1}}, 40, 30, 1},
        {{{112, 82, FRONT}, {1, 0, 0}, {0, 0, 1}}, 56, 40, 5},
        {{{305, 82, FRONT}, {1, 0, 0}, {0, 0, 1}}, 44, 34, 6},
    };
    int index = 0;
    for (const auto& p : pictures) {
        const std::string canvas = "canvas_" + std::to_string(index);
        mesh.addMaterial(makeMaterial(canvas, glm::vec3(1.0f), sceneTexture::PAINTING[p.painting], glm::vec3(0.12f), 16.0f));
        const glm::mat4 m = p.spot.frame();
        const float w = p.width / 2, h = p.height / 2, bar = 3.0f, bevel = 0.7f;
        const glm::vec3 corner = glm::vec3(m * glm::vec4(-w, -h, 1.0f, 1.0f));
        addRect(mesh.group(canvas, canvas), corner, p.spot.along * p.width, glm::vec3(0, p.height, 0), {0, 0}, {1, 1});
        MeshGroup& frame = mesh.group("frame_" + std::to_string(index), "gilt_frame");
        addChamferedBox(frame, {-w - bar, -h - bar, 0}, {-w, h + bar, 2.5f}, bevel, 0.1f, m);
        addChamferedBox(frame, {w, -h - bar, 0}, {w + bar, h + bar, 2.5f}, bevel, 0.1f, m);
        addChamferedBox(frame, {-w, -h - bar, 0}, {w, -h, 2.5f}, bevel, 0.1f, m);
        addChamferedBox(frame, {-w, h, 0}, {w, h + bar, 2.5f}, bevel, 0.1f, m);
        ++index;
    }
    return mesh;
}

SceneMesh buildCurtains()
{
    SceneMesh mesh;
    // Velvet turns the light that grazes it back in a broad, soft sheen of its own
    // colour: the folds turned to the light glow, the others stay deep.
    mesh.addMaterial(makeMaterial("curtain_damask", glm::vec3(1.0f), sceneTexture::CURTAIN, glm::vec3(0.42f, 0.26f, 0.26f),
                                  4.0f));
    mesh.addMaterial(makeMaterial("curtain_rods", {0.42f, 0.31f, 0.13f}, "", glm::vec3(1.0f, 0.8f, 0.45f), 100.0f));
    struct Window { glm::vec3 origin, along, inward; float a0, a1; };
    std::vector<Window> windows;
    for (const Span& s : LEFT_WINDOWS)
        windows.push_back({{LEFT, 0, BACK}, {0, 0, -1}, {1, 0, 0}, BACK - s.to, BACK - s.from});
    for (const Span& s : FRONT_WINDOWS)
        windows.push_back({{LEFT, 0, FRONT}, {1, 0, 0}, {0, 0, 1}, s.from - LEFT, s.to - LEFT});
    const float top = WINDOW_TOP + 11.0f, depth = 9.0f, width = 20.0f;
    for (size_t k = 0; k < windows.size(); ++k) {
        const Window& w = windows[k];
        for (int side = 0; side < 2; ++side) {
            const float middle = side == 0 ? w.a0 - 6.0f : w.a1 + 6.0f;
            const float outward = side == 0 ? -1.0f : 1.0f;
            const float seed = 0.37f * k + 0.5f * side;
            // t runs from the rod down to the hem. Under the rod the pleats are
            // tight and even; lower down they deepen, drift and open out, and the
            // panel fans away from the window.
            addSheet(mesh.group("curtains_" + std::to_string(k), "curtain_damask"),
                     [&](float s, float t) {
                         const float a = middle + (s - 0.5f) * width * (1.0f + 0.25f * t) + outward * 2.0f * t;
                         const float y = top - t * (top - 2.0f);
                         const float drift = 0.12f * t * std::sin(2.0f * PI * (1.3f * s + seed));
                         const float pleats = (1.2f + 2.0f * std::pow(t, 0.7f)) * std::sin(2.0f * PI * (4.5f * s + drift));
                         const float sway = 0.6f * t * std::sin(2.0f * PI * (1.7f * s + seed));
                         return w.origin + w.along * a + glm::vec3(0, y, 0) + w.inward * (depth + pleats + sway);
                     },
                     32, 8, {2, 4}, true, 0.3f);
        }
        const glm::vec3 rodStart = w.origin + w.along * (w.a0 - 20.0f) + glm::vec3(0, top + 1.5f, 0) + w.inward * depth;
        const glm::vec3 rodEnd = w.origin + w.along * (w.a1 + 20.0f) + glm::vec3(0, top + 1.5f, 0) + w.inward * depth;
        MeshGroup& rods = mesh.group("rod_" + std::to_string(k), "curtain_rods");
        addTube(rods, {rodStart, rodEnd}, 0.7f, 10);
        for (const glm::vec3& end : {rodStart, rodEnd})
            addSphere(rods, 6, 10, glm::scale(translation(end), glm::vec3(1.6f)));
    }
    return mesh;
}

SceneMesh buildCats()
{
    SceneMesh mesh;
    mesh.addMaterial(makeMaterial("fur_ginger", glm::vec3(1.0f), sceneTexture::FUR_GINGER, glm::vec3(0.04f), 6.0f));
    mesh.addMaterial(makeMaterial("fur_tabby", glm::vec3(1.0f), sceneTexture::FUR_TABBY, glm::vec3(0.04f), 6.0f));
    mesh.addMaterial(makeMaterial("cat_eyes", {0.45f, 0.6f, 0.12f}, "", glm::vec3(0.3f), 250.0f));
    auto ear = [](MeshGroup& g, const glm::mat4& head, float side) {
        glm::mat4 m = glm::translate(head, glm::vec3(side * 0.5f, 0.75f, 0.0f));
        m = glm::rotate(m, -side * 0.35f, glm::vec3(0, 0, 1));
        addLathe(g, {{0, 0}, {0.35f, 0}, {0, 0.75f}}, 8, m);
    };
    // The head: a sphere of `size` at `offset` in the cat's frame, squashed a
    // little, with both ears; returns the head's own frame for the eyes.
    auto head = [&ear](MeshGroup& g, const glm::mat4& at, const glm::vec3& offset, float size,
                       const glm::vec3& squash) {
        const glm::mat4 frame = glm::scale(glm::translate(at, offset), glm::vec3(size));
        addSphere(g, 8, 12, glm::scale(frame, squash), {1, 1});
        ear(g, frame, -1.0f);
        ear(g, frame, 1.0f);
        return frame;
    };
    // The tail along part of an ellipse round the body, in `steps` from angle
    // `from` through `sweep`.
    struct TailArc {
        int steps;
        float from, sweep;
        float across, along; // the ellipse's half-axes along x and z
        float height, forward;
        float thickness;
    };
    auto tail = [](MeshGroup& g, const glm::mat4& at, const TailArc& arc) {
        std::vector<glm::vec3> path;
        for (int i = 0; i <= arc.steps; ++i) {
            const float a = arc.from + arc.sweep * i / static_cast<float>(arc.steps);
            path.push_back(glm::vec3(
                at * glm::vec4(arc.across * std::cos(a), arc.height, arc.along * std::sin(a) + arc.forward, 1.0f)));
        }
        addTube(g, path, arc.thickness, 8);
    };

    // Asleep on the rug by the fire: curled up, head on its paws, tail around.
    {
        MeshGroup& fur = mesh.group("cat_asleep", "fur_ginger");
        const glm::mat4 at = placed({248.0f, 0.3f, -46.0f}, 0.6f);
        addSphere(fur, 10, 16, glm::scale(glm::translate(at, {0, 4.2f, 0}), {10.5f, 4.6f, 7.0f}), {2, 1});
        head(fur, at, {7.5f, 4.0f, 4.5f}, 3.8f, {1.0f, 0.85f, 1.0f});
        tail(fur, at, {16, -2.2f, 2.8f, 9.5f, 7.5f, 1.5f, 1.0f, 1.3f});
    }
    // Sitting upright on the sofa's left cushion, facing the fire.
    {
        MeshGroup& fur = mesh.group("cat_sitting", "fur_tabby");
        const glm::mat4 at = placed({180.0f, SEAT_HEIGHT + 1.0f, -100.0f}, 0.3f);
        addSphere(fur, 10, 14, glm::scale(glm::translate(at, {0, 4.5f, -1.0f}), {5.5f, 5.0f, 6.5f}), {2, 1});
        addSphere(fur, 10, 14, glm::scale(glm::rotate(glm::translate(at, {0, 10.0f, 2.0f}), 0.3f, {1, 0, 0}), {4.0f, 6.5f, 4.0f}), {2, 1});
        const glm::mat4 face = head(fur, at, {0, 17.0f, 3.5f}, 3.9f, {1.0f, 0.9f, 0.95f});
        for (float side : {-1.0f, 1.0f})
            addSphere(fur, 6, 8, glm::scale(glm::translate(at, {side * 2.0f, 1.2f, 5.5f}), {1.2f, 1.2f, 2.0f}));
        tail(fur, at, {14, -1.9f, 2.6f, 7.0f, 7.0f, 1.0f, 1.5f, 1.1f});
        MeshGroup& eyes = mesh.group("cat_eyes", "cat_eyes");
        for (float side : {-1.0f, 1.0f})
            addSphere(eyes, 4, 6, glm::scale(glm::translate(face, {side * 0.38f, 0.15f, 0.85f}), glm::vec3(0.16f)));
    }
    return mesh;
}
