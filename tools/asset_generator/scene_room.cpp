// The room shell: plank floor and rug, papered walls over a wooden wainscot, window
// openings with frames, a beamed ceiling, and the brick chimney breast with its
// firebox, stone surround, hearth, mantelpiece and logs.
#include "layout/scene_layout.h"
#include "scene_builders.h"
#include "scene_textures.h"

#include <algorithm>
#include <functional>
#include <vector>

using namespace layout;

namespace {

// A window opening in its wall's own coordinates: a along the wall, b up.
struct Hole { float a0, a1, b0, b1; };

// A wall plane: `base` is its corner at the floor, `along` the horizontal
// direction, `inward` (= along x up) the side the room is on.
struct Wall {
    glm::vec3 base, along;
    float length;
    glm::vec3 inward() const { return glm::cross(along, glm::vec3(0, 1, 0)); }
    // Local (a along, b up, depth towards the room) to world.
    glm::mat4 frame() const
    {
        glm::mat4 m(1.0f);
        m[0] = glm::vec4(along, 0);
        m[1] = glm::vec4(0, 1, 0, 0);
        m[2] = glm::vec4(inward(), 0);
        m[3] = glm::vec4(base, 1);
        return m;
    }
};

// The shell (floor, ceiling, walls, window reveals, chimney breast and firebox)
// is cut on one grid: every corner of every shell surface is picked from these
// sorted x, y and z values, never computed, and every surface is cut wherever
// any other one ends. Pieces that meet therefore share their edges vertex for
// vertex; a T-junction or a corner reached by two different sums leaves cracks
// that the sky shines through.
struct ShellGrid {
    std::vector<float> values[3];
};

ShellGrid shellGrid()
{
    ShellGrid grid;
    grid.values[0] = {LEFT - WALL, LEFT, RIGHT, RIGHT + WALL, BREAST_LEFT, BREAST_RIGHT, FIREBOX_LEFT, FIREBOX_RIGHT};
    grid.values[1] = {0.0f, WAINSCOT, FIREBOX_TOP, WINDOW_BOTTOM, WINDOW_TOP, CEILING};
    grid.values[2] = {FRONT - WALL, FRONT, BACK, BACK + WALL, BREAST_FRONT, FIREBOX_BACK};
    for (const Span& s : FRONT_WINDOWS)
        grid.values[0].insert(grid.values[0].end(), {s.from, s.to});
    for (const Span& s : LEFT_WINDOWS)
        grid.values[2].insert(grid.values[2].end(), {s.from, s.to});
    for (std::vector<float>& v : grid.values) {
        std::sort(v.begin(), v.end());
        v.erase(std::unique(v.begin(), v.end()), v.end());
    }
    return grid;
}

// An axis-aligned box, also a flat rectangle when lo and hi agree on one axis.
struct Extent {
    glm::vec3 lo, hi;
    // Whether the centre p of a cell flat along `axis` lies inside: strictly
    // across the axis, and on or between the faces along it.
    bool spans(const glm::vec3& p, int axis) const
    {
        for (int k = 0; k < 3; ++k) {
            const bool inside = k == axis ? p[k] >= lo[k] && p[k] <= hi[k] : p[k] > lo[k] && p[k] < hi[k];
            if (!inside)
                return false;
        }
        return true;
    }
};

// Chooses the group of the grid cell around a point; null leaves the cell open.
using CellGroup = std::function<MeshGroup*(const glm::vec3& centre)>;
using SurfaceUv = std::function<glm::vec2(const glm::vec3& p)>;

// Covers the rectangle `plane` (flat along `axis`) with grid cells seen from the
// side `facing` (+1 or -1 along the axis).
void addShellPlane(const ShellGrid& grid, const Extent& plane, int axis, float facing, const CellGroup& groupAt,
                   const SurfaceUv& uvAt)
{
    // u x v points along +axis.
    const int u = (axis + 1) % 3, v = (axis + 2) % 3;
    auto within = [&](int k) {
        std::vector<float> cuts;
        for (float value : grid.values[k])
            if (value >= plane.lo[k] && value <= plane.hi[k])
                cuts.push_back(value);
        return cuts;
    };
    const std::vector<float> us = within(u), vs = within(v);
    glm::vec3 normal(0.0f);
    normal[axis] = facing;
    auto corner = [&](size_t i, size_t j) {
        glm::vec3 p;
        p[axis] = plane.lo[axis];
        p[u] = us[i];
        p[v] = vs[j];
        return p;
    };
    for (size_t j = 0; j + 1 < vs.size(); ++j) {
        for (size_t i = 0; i + 1 < us.size(); ++i) {
            MeshGroup* g = groupAt((corner(i, j) + corner(i + 1, j + 1)) * 0.5f);
            if (!g)
                continue;
            const glm::vec3 p[4] = {corner(i, j), corner(i + 1, j), corner(i + 1, j + 1), corner(i, j + 1)};
            uint32_t k[4];
            for (int c = 0; c < 4; ++c)
                k[c] = g->addVertex(p[c], normal, uvAt(p[c]));
            if (facing > 0.0f)
                g->addQuad(k[0], k[1], k[2], k[3]);
            else
                g->addQuad(k[0], k[3], k[2], k[1]);
        }
    }
}

// Lines the four sides of `tunnel` across `depthAxis` (a window through a wall,
// the firebox in the breast), facing into it; `closedEnd` along depthAxis (-1
// the low end, +1 the high end, 0 neither) gets an end face too.
void addTunnelLining(const ShellGrid& grid, const Extent& tunnel, int depthAxis, int closedEnd, MeshGroup& g,
                     const SurfaceUv& uvAt)
{
    const CellGroup all = [&](const glm::vec3&) { return &g; };
    for (int axis = 0; axis < 3; ++axis) {
        for (float side : {-1.0f, 1.0f}) {
            const bool end = axis == depthAxis;
            if (end && side != closedEnd)
                continue;
            Extent face = tunnel;
            if (side < 0.0f)
                face.hi[axis] = tunnel.lo[axis];
            else
                face.lo[axis] = tunnel.hi[axis];
            addShellPlane(grid, face, axis, -side, all, uvAt);
        }
    }
}

// Frame, mullions and sill of one window, in the wall's local frame.
void addWindowFrame(MeshGroup& g, const Wall& wall, const Hole& h)
{
    const glm::mat4 m = wall.frame();
    const float bar = 3.0f, d0 = -WALL * 0.75f, d1 = -WALL * 0.25f;
    addChamferedBox(g, {h.a0, h.b0, d0}, {h.a0 + bar, h.b1, d1}, 0.3f, 0.05f, m);
    addChamferedBox(g, {h.a1 - bar, h.b0, d0}, {h.a1, h.b1, d1}, 0.3f, 0.05f, m);
    addChamferedBox(g, {h.a0, h.b0, d0}, {h.a1, h.b0 + bar, d1}, 0.3f, 0.05f, m);
    addChamferedBox(g, {h.a0, h.b1 - bar, d0}, {h.a1, h.b1, d1}, 0.3f, 0.05f, m);
    const float mid = (h.a0 + h.a1) / 2, cross = h.b0 + (h.b1 - h.b0) * 0.62f;
    addChamferedBox(g, {mid - 1.0f, h.b0, d0 + 0.5f}, {mid + 1.0f, h.b1, d1 - 0.5f}, 0.3f, 0.05f, m);
    addChamferedBox(g, {h.a0, cross - 1.0f, d0 + 0.5f}, {h.a1, cross + 1.0f, d1 - 0.5f}, 0.3f, 0.05f, m);
    // The sill stands out into the room and reaches a little into the opening.
    // Its top stands proud of the opening's floor: level with it, the two would
    // fight over the strip where they overlap and flicker white and paper.
    addChamferedBox(g, {h.a0 - 4.0f, h.b0 - 2.0f, -0.5f}, {h.a1 + 4.0f, h.b0 + 0.5f, 5.0f}, 0.3f, 0.05f, m);
}

void addFloorAndCeiling(SceneMesh& mesh, const ShellGrid& grid, const Extent& breast)
{
    MeshGroup* const floor = &mesh.group("floor", "");
    MeshGroup* const ceiling = &mesh.group("ceiling", "");
    addShellPlane(grid, {{LEFT, 0, FRONT}, {RIGHT, 0, BACK}}, 1, 1.0f,
                  [&](const glm::vec3& c) { return breast.spans(c, 1) ? nullptr : floor; },
                  [](const glm::vec3& p) { return glm::vec2(p.x - LEFT, BACK - p.z) / 64.0f; });
    addShellPlane(grid, {{LEFT, CEILING, FRONT}, {RIGHT, CEILING, BACK}}, 1, -1.0f,
                  [&](const glm::vec3& c) { return breast.spans(c, 1) ? nullptr : ceiling; },
                  [](const glm::vec3& p) { return glm::vec2((BACK - p.z) / (BACK - FRONT), (p.x - LEFT) / (RIGHT - LEFT)); });
}

// The four walls, inner and outer faces, with the window openings running
// through them, their frames, and the dado rails along the top of the wainscot.
void addWalls(SceneMesh& mesh, const ShellGrid& grid, const Extent& breast)
{
    const Wall left{{LEFT, 0, BACK}, {0, 0, -1}, BACK - FRONT};
    const Wall front{{LEFT, 0, FRONT}, {1, 0, 0}, RIGHT - LEFT};
    const Wall right{{RIGHT, 0, FRONT}, {0, 0, 1}, BACK - FRONT};
    const Wall back{{RIGHT, 0, BACK}, {-1, 0, 0}, RIGHT - LEFT};
    std::vector<Extent> windows;
    std::vector<Hole> leftHoles, frontHoles;
    for (const Span& s : LEFT_WINDOWS) {
        windows.push_back({{LEFT - WALL, WINDOW_BOTTOM, s.from}, {LEFT, WINDOW_TOP, s.to}});
        leftHoles.push_back({BACK - s.to, BACK - s.from, WINDOW_BOTTOM, WINDOW_TOP});
    }
    for (const Span& s : FRONT_WINDOWS) {
        windows.push_back({{s.from, WINDOW_BOTTOM, FRONT - WALL}, {s.to, WINDOW_TOP, FRONT}});
        frontHoles.push_back({s.from - LEFT, s.to - LEFT, WINDOW_BOTTOM, WINDOW_TOP});
    }
    const float paper = 1.0f / 48.0f;
    MeshGroup* const paperGroup = &mesh.group("walls", "");
    MeshGroup* const wainscot = &mesh.group("wainscot", "");
    MeshGroup* const outside = &mesh.group("outside", "");
    // A wall cell is open through a window, and behind the chimney breast when
    // the wall has one (`against`).
    auto wallCell = [&](int axis, MeshGroup* upper, MeshGroup* lower, const Extent* against) -> CellGroup {
        return [=, &windows](const glm::vec3& c) -> MeshGroup* {
            for (const Extent& w : windows)
                if (w.spans(c, axis))
                    return nullptr;
            if (against && against->spans(c, axis))
                return nullptr;
            return c.y < WAINSCOT ? lower : upper;
        };
    };
    // Each wall's texture runs from its own base corner.
    const SurfaceUv leftUv = [](const glm::vec3& p) { return glm::vec2(BACK - p.z, p.y); };
    const SurfaceUv frontUv = [](const glm::vec3& p) { return glm::vec2(p.x - LEFT, p.y); };
    const SurfaceUv rightUv = [](const glm::vec3& p) { return glm::vec2(p.z - FRONT, p.y); };
    const SurfaceUv backUv = [](const glm::vec3& p) { return glm::vec2(RIGHT - p.x, p.y); };
    auto scaled = [](const SurfaceUv& uv, float scale) {
        return SurfaceUv([=](const glm::vec3& p) { return uv(p) * scale; });
    };
    // The outer faces reach the outer corners, where they meet.
    const struct {
        Extent inside, outside;
        int axis;
        float facing;
        SurfaceUv uv;
        const Extent* against;
    } walls[] = {
        {{{LEFT, 0, FRONT}, {LEFT, CEILING, BACK}}, {{LEFT - WALL, 0, FRONT - WALL}, {LEFT - WALL, CEILING, BACK + WALL}},
         0, 1.0f, leftUv, nullptr},
        {{{LEFT, 0, FRONT}, {RIGHT, CEILING, FRONT}}, {{LEFT - WALL, 0, FRONT - WALL}, {RIGHT + WALL, CEILING, FRONT - WALL}},
         2, 1.0f, frontUv, nullptr},
        {{{RIGHT, 0, FRONT}, {RIGHT, CEILING, BACK}}, {{RIGHT + WALL, 0, FRONT - WALL}, {RIGHT + WALL, CEILING, BACK + WALL}},
         0, -1.0f, rightUv, nullptr},
        {{{LEFT, 0, BACK}, {RIGHT, CEILING, BACK}}, {{LEFT - WALL, 0, BACK + WALL}, {RIGHT + WALL, CEILING, BACK + WALL}},
         2, -1.0f, backUv, &breast},
    };
    for (const auto& w : walls) {
        addShellPlane(grid, w.inside, w.axis, w.facing, wallCell(w.axis, paperGroup, wainscot, w.against),
                      scaled(w.uv, paper));
        addShellPlane(grid, w.outside, w.axis, -w.facing, wallCell(w.axis, outside, outside, nullptr),
                      scaled(w.uv, 0.05f));
    }
    for (const Extent& w : windows) {
        const int depthAxis = w.hi.x == LEFT ? 0 : 2, runAxis = 2 - depthAxis;
        addTunnelLining(grid, w, depthAxis, 0, *paperGroup, [=](const glm::vec3& p) {
            return glm::vec2(p[runAxis] + p.y, p[depthAxis]) * paper;
        });
    }
    for (const auto& [wall, holes] : {std::pair{left, leftHoles}, std::pair{front, frontHoles}})
        for (const Hole& h : holes)
            addWindowFrame(mesh.group("window_frames", ""), wall, h);
    for (const Wall& wall : {left, front, right, back})
        addChamferedBox(mesh.group("dado_rails", ""), {0, WAINSCOT, 0}, {wall.length, WAINSCOT + 2, 1.2f}, 0.4f, 0.05f,
                        wall.frame());
}

// The chimney breast: a brick front with the firebox opening, and two sides,
// then the firebox lined with sooty brick behind the opening, and the bed of
// ash the logs lie on.
void addChimneyBreast(SceneMesh& mesh, const ShellGrid& grid, const Extent& breast)
{
    const Extent firebox{{FIREBOX_LEFT, 0, BREAST_FRONT}, {FIREBOX_RIGHT, FIREBOX_TOP, FIREBOX_BACK}};
    const float brick = 1.0f / 32.0f;
    MeshGroup* const breastGroup = &mesh.group("chimney_breast", "");
    const CellGroup breastFront = [&](const glm::vec3& c) { return firebox.spans(c, 2) ? nullptr : breastGroup; };
    const CellGroup breastSide = [&](const glm::vec3&) { return breastGroup; };
    const SurfaceUv breastFrontUv = [=](const glm::vec3& p) { return glm::vec2(BREAST_RIGHT - p.x, p.y) * brick; };
    const SurfaceUv breastSideUv = [=](const glm::vec3& p) { return glm::vec2(p.z - BREAST_FRONT, p.y) * brick; };
    addShellPlane(grid, {breast.lo, {BREAST_RIGHT, CEILING, BREAST_FRONT}}, 2, -1.0f, breastFront, breastFrontUv);
    addShellPlane(grid, {breast.lo, {BREAST_LEFT, CEILING, BACK}}, 0, -1.0f, breastSide, breastSideUv);
    addShellPlane(grid, {{BREAST_RIGHT, 0, BREAST_FRONT}, breast.hi}, 0, 1.0f, breastSide, breastSideUv);
    // Every lining face, whichever axis it is flat along, gets both texture
    // directions from the coordinates that vary on it.
    addTunnelLining(grid, firebox, 2, 1, mesh.group("firebox", ""), [=](const glm::vec3& p) {
        return glm::vec2(p.x + p.z, p.y + p.z) * brick;
    });
    addBox(mesh.group("firebox_bed", ""), {FIREBOX_LEFT, 0, BREAST_FRONT}, {FIREBOX_RIGHT, HEARTH_HEIGHT, FIREBOX_BACK}, brick);
}

} // namespace

SceneMesh buildRoom()
{
    using namespace sceneTexture;
    SceneMesh mesh;
    // Each surface's sheen: varnished boards and mantel shine, waxed panelling and
    // polished slate less, paper, plaster, brick and rough-hewn oak hardly at all.
    mesh.addMaterial(makeMaterial("floor_planks", glm::vec3(1.0f), FLOOR_WOOD, glm::vec3(0.22f), 70.0f));
    mesh.addMaterial(makeMaterial("wallpaper", glm::vec3(1.0f), WALLPAPER, glm::vec3(0.06f), 8.0f));
    mesh.addMaterial(makeMaterial("wainscot", glm::vec3(1.0f), OAK_PANELLING, glm::vec3(0.2f), 40.0f));
    mesh.addMaterial(makeMaterial("dado_rail", glm::vec3(1.0f), DARK_WOOD, glm::vec3(0.22f), 50.0f));
    mesh.addMaterial(makeMaterial("outside_render", glm::vec3(0.78f, 0.8f, 0.85f)));
    mesh.addMaterial(makeMaterial("ceiling_plaster", glm::vec3(0.88f, 0.86f, 0.82f), "", glm::vec3(0.03f), 4.0f));
    mesh.addMaterial(makeMaterial("oak_beams", glm::vec3(0.9f), DARK_WOOD, glm::vec3(0.15f), 12.0f));
    mesh.addMaterial(makeMaterial("window_frames", glm::vec3(0.92f, 0.92f, 0.9f), "", glm::vec3(0.2f), 40.0f));
    mesh.addMaterial(makeMaterial("chimney_brick", glm::vec3(1.0f), BRICK, glm::vec3(0.08f), 6.0f));
    mesh.addMaterial(makeMaterial("firebox_soot", glm::vec3(0.35f, 0.3f, 0.28f), BRICK, glm::vec3(0.03f), 4.0f));
    mesh.addMaterial(makeMaterial("hearth_stone", glm::vec3(1.0f), STONE, glm::vec3(0.15f), 24.0f));
    mesh.addMaterial(makeMaterial("mantel_wood", glm::vec3(1.0f), DARK_WOOD, glm::vec3(0.25f), 90.0f));
    mesh.addMaterial(makeMaterial("logs", glm::vec3(0.9f), BARK, glm::vec3(0.03f), 4.0f));
    mesh.addMaterial(makeMaterial("rug", glm::vec3(1.0f), RUG, glm::vec3(0.02f), 4.0f));

    auto group = [&](const char* name, const char* mat) -> MeshGroup& { return mesh.group(name, mat); };
    group("floor", "floor_planks");
    group("walls", "wallpaper");
    group("wainscot", "wainscot");
    group("dado_rails", "dado_rail");
    group("outside", "outside_render");
    group("ceiling", "ceiling_plaster");
    group("beams", "oak_beams");
    group("window_frames", "window_frames");
    group("chimney_breast", "chimney_brick");
    group("firebox", "firebox_soot");
    group("firebox_bed", "firebox_soot");
    group("hearth", "hearth_stone");
    group("mantelpiece", "mantel_wood");
    group("logs", "logs");
    group("rug", "rug");

    // The shell. The chimney breast stands on the floor and against the back wall
    // up to the ceiling: those three leave its footprint open, and the breast's
    // faces and the firebox lining close it.
    const ShellGrid grid = shellGrid();
    const Extent breast{{BREAST_LEFT, 0, BREAST_FRONT}, {BREAST_RIGHT, CEILING, BACK}};
    addFloorAndCeiling(mesh, grid, breast);
    addWalls(mesh, grid, breast);
    addChimneyBreast(mesh, grid, breast);
    // Three beams, the middle one over the chimney breast.
    for (float x : {110.0f, FIREPLACE_X, 320.0f})
        addChamferedBox(mesh.group("beams", ""), {x - 4, CEILING - 8, FRONT}, {x + 4, CEILING, BACK}, 0.8f, 1.0f / 48.0f);
    // The rug between the sofa and the hearth.
    addRect(mesh.group("rug", ""), {160, 0.4f, -34}, {104, 0, 0}, {0, 0, -52}, {0, 0}, {1, 1});

    // Stone surround, hearth slab and the mantel shelf.
    MeshGroup& hearth = mesh.group("hearth", "");
    const float perUnit = 1.0f / 40.0f, stoneChamfer = 0.5f, woodChamfer = 0.6f;
    addChamferedBox(hearth, {FIREBOX_LEFT - 8, 0, BREAST_FRONT - 2}, {FIREBOX_LEFT, FIREBOX_TOP, BREAST_FRONT},
                    stoneChamfer, perUnit);
    addChamferedBox(hearth, {FIREBOX_RIGHT, 0, BREAST_FRONT - 2}, {FIREBOX_RIGHT + 8, FIREBOX_TOP, BREAST_FRONT},
                    stoneChamfer, perUnit);
    addChamferedBox(hearth, {FIREBOX_LEFT - 8, FIREBOX_TOP, BREAST_FRONT - 2},
                    {FIREBOX_RIGHT + 8, MANTEL_TOP - 4, BREAST_FRONT}, stoneChamfer, perUnit);
    addChamferedBox(hearth, {BREAST_LEFT - 4, 0, -30}, {BREAST_RIGHT + 4, HEARTH_HEIGHT, BREAST_FRONT}, stoneChamfer,
                    perUnit);
    MeshGroup& mantel = mesh.group("mantelpiece", "");
    addChamferedBox(mantel, {BREAST_LEFT - 6, MANTEL_TOP - 4, MANTEL_FRONT}, {BREAST_RIGHT + 6, MANTEL_TOP, BREAST_FRONT},
                    woodChamfer, perUnit);
    addChamferedBox(mantel, {BREAST_LEFT - 3, MANTEL_TOP - 7, MANTEL_FRONT + 2},
                    {BREAST_RIGHT + 3, MANTEL_TOP - 4, BREAST_FRONT}, woodChamfer, perUnit);

    // Logs on the firebox floor, under the flames.
    MeshGroup& logs = mesh.group("logs", "");
    const float y = HEARTH_HEIGHT + 2.5f;
    addLathe(logs, {{0, 0}, {2.5f, 0}, {2.5f, 1}, {0, 1}}, 10,
             alongAxis({FIRE.x - 13, y, FIRE.z - 2}, {26, 0, 1}, 1.0f), {1, 2});
    addLathe(logs, {{0, 0}, {2.2f, 0}, {2.2f, 1}, {0, 1}}, 10,
             alongAxis({FIRE.x - 11, y, FIRE.z + 3}, {22, 0, -1.5f}, 1.0f), {1, 2});
    addLathe(logs, {{0, 0}, {2.0f, 0}, {2.0f, 1}, {0, 1}}, 10,
             alongAxis({FIRE.x - 8, y + 3.5f, FIRE.z - 6}, {16, 1.5f, 9}, 1.0f), {1, 2});
    return mesh;
}
