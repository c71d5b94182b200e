// The room shell: plank floor and rug, papered walls over a wooden wainscot, window
// openings with frames, a beamed ceiling, and the brick chimney breast with its
// firebox, stone surround, hearth, mantelpiece and logs.
#include "scene_builders.h"
#include "scene_layout.h"
#include "scene_textures.h"

#include <algorithm>
#include <set>
#include <vector>

using namespace layout;

namespace {

struct Hole { float a0, a1, b0, b1; };

// A wall plane: `base` is its corner at the floor, `along` the horizontal
// direction, `inward` (= along x up) the side the room is on.
struct Wall {
    glm::vec3 base, along;
    float length, height;
    glm::vec3 inward() const { return glm::cross(along, glm::vec3(0, 1, 0)); }
    glm::vec3 at(float a, float b, float depth = 0.0f) const
    {
        return base + along * a + glm::vec3(0, b, 0) - inward() * depth;
    }
    // Local (a, b, depth towards the room) to world.
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

constexpr glm::vec3 UP(0, 1, 0);

// Covers the wall outside its holes with rectangles; `split` heights change the
// material (below the first split: `lower`). The outer face is added when
// `thickness` > 0, with reveals lining each hole.
void addWallSurface(SceneMesh& mesh, const Wall& wall, const std::vector<Hole>& holes, float split,
                    const std::string& lowerGroup, const std::string& upperGroup, float uvScale,
                    float thickness, const std::string& outsideGroup)
{
    std::set<float> as{0.0f, wall.length}, bs{0.0f, wall.height};
    if (split > 0.0f)
        bs.insert(split);
    for (const Hole& h : holes) {
        as.insert(h.a0);
        as.insert(h.a1);
        bs.insert(h.b0);
        bs.insert(h.b1);
    }
    const std::vector<float> av(as.begin(), as.end()), bv(bs.begin(), bs.end());
    for (size_t j = 0; j + 1 < bv.size(); ++j) {
        for (size_t i = 0; i + 1 < av.size(); ++i) {
            const float a0 = av[i], a1 = av[i + 1], b0 = bv[j], b1 = bv[j + 1];
            const float ac = (a0 + a1) / 2, bc = (b0 + b1) / 2;
            const bool open = std::any_of(holes.begin(), holes.end(), [&](const Hole& h) {
                return ac > h.a0 && ac < h.a1 && bc > h.b0 && bc < h.b1;
            });
            if (open)
                continue;
            MeshGroup& inner = mesh.group(bc < split ? lowerGroup : upperGroup, "");
            addRect(inner, wall.at(a0, b0), wall.along * (a1 - a0), UP * (b1 - b0),
                    glm::vec2(a0, b0) * uvScale, glm::vec2(a1, b1) * uvScale);
            if (thickness > 0.0f) {
                MeshGroup& outer = mesh.group(outsideGroup, "");
                addRect(outer, wall.at(a1, b0, thickness), -wall.along * (a1 - a0), UP * (b1 - b0),
                        glm::vec2(a0, b0) * 0.05f, glm::vec2(a1, b1) * 0.05f);
            }
        }
    }
}

// The four faces lining a hole through a wall `depth` thick, facing into the hole.
void addReveals(MeshGroup& g, const Wall& wall, const Hole& h, float depth, bool withBottom, float uvScale)
{
    const glm::vec3 d = -wall.inward() * depth;
    const glm::vec3 width = wall.along * (h.a1 - h.a0), height = UP * (h.b1 - h.b0);
    const glm::vec2 uvDepth(depth * uvScale);
    addRect(g, wall.at(h.a0, h.b0) + d, height, -d, {0, 0}, {(h.b1 - h.b0) * uvScale, uvDepth.y});
    addRect(g, wall.at(h.a1, h.b0) + d, -d, height, {0, 0}, {uvDepth.x, (h.b1 - h.b0) * uvScale});
    if (withBottom)
        addRect(g, wall.at(h.a0, h.b0) + d, -d, width, {0, 0}, {uvDepth.x, (h.a1 - h.a0) * uvScale});
    addRect(g, wall.at(h.a0, h.b1) + d, width, -d, {0, 0}, {(h.a1 - h.a0) * uvScale, uvDepth.y});
}

// Frame, mullions and sill of one window, in the wall's local frame.
void addWindowFrame(MeshGroup& g, const Wall& wall, const Hole& h)
{
    const glm::mat4 m = wall.frame();
    const float bar = 3.0f, d0 = -WALL * 0.75f, d1 = -WALL * 0.25f;
    addBox(g, {h.a0, h.b0, d0}, {h.a0 + bar, h.b1, d1}, 0.05f, m);
    addBox(g, {h.a1 - bar, h.b0, d0}, {h.a1, h.b1, d1}, 0.05f, m);
    addBox(g, {h.a0, h.b0, d0}, {h.a1, h.b0 + bar, d1}, 0.05f, m);
    addBox(g, {h.a0, h.b1 - bar, d0}, {h.a1, h.b1, d1}, 0.05f, m);
    const float mid = (h.a0 + h.a1) / 2, cross = h.b0 + (h.b1 - h.b0) * 0.62f;
    addBox(g, {mid - 1.0f, h.b0, d0 + 0.5f}, {mid + 1.0f, h.b1, d1 - 0.5f}, 0.05f, m);
    addBox(g, {h.a0, cross - 1.0f, d0 + 0.5f}, {h.a1, cross + 1.0f, d1 - 0.5f}, 0.05f, m);
    // The sill stands out into the room.
    addBox(g, {h.a0 - 4.0f, h.b0 - 2.0f, -0.5f}, {h.a1 + 4.0f, h.b0, 5.0f}, 0.05f, m);
}

} // namespace

SceneMesh buildRoom()
{
    using namespace sceneTexture;
    SceneMesh mesh;
    mesh.addMaterial(makeMaterial("floor_planks", glm::vec3(1.0f), FLOOR_WOOD, glm::vec3(0.25f), 24.0f));
    mesh.addMaterial(makeMaterial("wallpaper", glm::vec3(1.0f), WALLPAPER));
    mesh.addMaterial(makeMaterial("wainscot", glm::vec3(0.9f), DARK_WOOD, glm::vec3(0.2f), 20.0f));
    mesh.addMaterial(makeMaterial("outside_render", glm::vec3(0.78f, 0.8f, 0.85f)));
    mesh.addMaterial(makeMaterial("ceiling_plaster", glm::vec3(0.88f, 0.84f, 0.76f)));
    mesh.addMaterial(makeMaterial("oak_beams", glm::vec3(0.8f), DARK_WOOD, glm::vec3(0.1f)));
    mesh.addMaterial(makeMaterial("window_frames", glm::vec3(0.92f, 0.9f, 0.85f), "", glm::vec3(0.3f), 32.0f));
    mesh.addMaterial(makeMaterial("chimney_brick", glm::vec3(1.0f), BRICK));
    mesh.addMaterial(makeMaterial("firebox_soot", glm::vec3(0.35f, 0.3f, 0.28f), BRICK));
    mesh.addMaterial(makeMaterial("hearth_stone", glm::vec3(1.0f), STONE, glm::vec3(0.2f), 24.0f));
    mesh.addMaterial(makeMaterial("mantel_wood", glm::vec3(1.0f), DARK_WOOD, glm::vec3(0.3f), 32.0f));
    mesh.addMaterial(makeMaterial("logs", glm::vec3(0.9f), BARK));
    mesh.addMaterial(makeMaterial("rug", glm::vec3(1.0f), RUG, glm::vec3(0.02f), 4.0f));

    auto group = [&](const char* name, const char* mat) -> MeshGroup& { return mesh.group(name, mat); };
    group("floor", "floor_planks");
    group("walls", "wallpaper");
    group("wainscot", "wainscot");
    group("outside", "outside_render");
    group("ceiling", "ceiling_plaster");
    group("beams", "oak_beams");
    group("window_frames", "window_frames");
    group("chimney_breast", "chimney_brick");
    group("firebox", "firebox_soot");
    group("hearth", "hearth_stone");
    group("mantelpiece", "mantel_wood");
    group("logs", "logs");
    group("rug", "rug");

    // Floor and ceiling.
    addRect(mesh.group("floor", ""), {LEFT, 0, BACK}, {RIGHT - LEFT, 0, 0}, {0, 0, FRONT - BACK},
            {0, 0}, glm::vec2(RIGHT - LEFT, BACK - FRONT) / 64.0f);
    addRect(mesh.group("ceiling", ""), {LEFT, CEILING, BACK}, {0, 0, FRONT - BACK}, {RIGHT - LEFT, 0, 0},
            {0, 0}, {1, 1});
    for (float x : {110.0f, 212.0f, 320.0f})
        addBox(mesh.group("beams", ""), {x - 4, CEILING - 8, FRONT}, {x + 4, CEILING, BACK}, 1.0f / 48.0f);

    // The rug between the sofa and the hearth.
    addRect(mesh.group("rug", ""), {160, 0.4f, -34}, {104, 0, 0}, {0, 0, -52}, {0, 0}, {1, 1});

    // Walls, counter-clockwise around the room seen from above.
    const Wall left{{LEFT, 0, BACK}, {0, 0, -1}, BACK - FRONT, CEILING};
    const Wall front{{LEFT, 0, FRONT}, {1, 0, 0}, RIGHT - LEFT, CEILING};
    const Wall right{{RIGHT, 0, FRONT}, {0, 0, 1}, BACK - FRONT, CEILING};
    const Wall back{{RIGHT, 0, BACK}, {-1, 0, 0}, RIGHT - LEFT, CEILING};
    std::vector<Hole> leftHoles, frontHoles;
    for (const Span& s : LEFT_WINDOWS)
        leftHoles.push_back({BACK - s.to, BACK - s.from, WINDOW_BOTTOM, WINDOW_TOP});
    for (const Span& s : FRONT_WINDOWS)
        frontHoles.push_back({s.from - LEFT, s.to - LEFT, WINDOW_BOTTOM, WINDOW_TOP});
    const float paper = 1.0f / 48.0f;
    addWallSurface(mesh, left, leftHoles, WAINSCOT, "wainscot", "walls", paper, WALL, "outside");
    addWallSurface(mesh, front, frontHoles, WAINSCOT, "wainscot", "walls", paper, WALL, "outside");
    addWallSurface(mesh, right, {}, WAINSCOT, "wainscot", "walls", paper, WALL, "outside");
    addWallSurface(mesh, back, {}, WAINSCOT, "wainscot", "walls", paper, WALL, "outside");
    for (const auto& [wall, holes] : {std::pair{left, leftHoles}, std::pair{front, frontHoles}}) {
        for (const Hole& h : holes) {
            addReveals(mesh.group("walls", ""), wall, h, WALL, true, paper);
            addWindowFrame(mesh.group("window_frames", ""), wall, h);
        }
    }
    // Dado rails along the top of the wainscot.
    for (const Wall& wall : {left, front, right, back})
        addBox(mesh.group("wainscot", ""), {0, WAINSCOT, 0}, {wall.length, WAINSCOT + 2, 1.2f}, 0.05f, wall.frame());

    // The chimney breast: a brick front with the firebox opening, and two sides.
    const Wall breast{{BREAST_RIGHT, 0, BREAST_FRONT}, {-1, 0, 0}, BREAST_RIGHT - BREAST_LEFT, CEILING};
    const Hole opening{BREAST_RIGHT - FIREBOX_RIGHT, BREAST_RIGHT - FIREBOX_LEFT, 0.0f, FIREBOX_TOP};
    const float brick = 1.0f / 32.0f;
    addWallSurface(mesh, breast, {opening}, 0.0f, "chimney_breast", "chimney_breast", brick, 0.0f, "");
    MeshGroup& breastGroup = mesh.group("chimney_breast", "");
    addRect(breastGroup, {BREAST_LEFT, 0, BREAST_FRONT}, {0, 0, BACK - BREAST_FRONT}, {0, CEILING, 0},
            {0, 0}, glm::vec2(BACK - BREAST_FRONT, CEILING) * brick);
    addRect(breastGroup, {BREAST_RIGHT, 0, BACK}, {0, 0, BREAST_FRONT - BACK}, {0, CEILING, 0},
            {0, 0}, glm::vec2(BACK - BREAST_FRONT, CEILING) * brick);

    // The firebox: sides, top and back lining the opening, and its floor.
    MeshGroup& firebox = mesh.group("firebox", "");
    const float depth = FIREBOX_BACK - BREAST_FRONT;
    addReveals(firebox, breast, opening, depth, false, brick);
    addRect(firebox, {FIREBOX_RIGHT, 0, FIREBOX_BACK}, {FIREBOX_LEFT - FIREBOX_RIGHT, 0, 0}, {0, FIREBOX_TOP, 0},
            {0, 0}, glm::vec2(FIREBOX_RIGHT - FIREBOX_LEFT, FIREBOX_TOP) * brick);
    addBox(firebox, {FIREBOX_LEFT, 0, BREAST_FRONT}, {FIREBOX_RIGHT, HEARTH_HEIGHT, FIREBOX_BACK}, brick);

    // Stone surround, hearth slab and the mantel shelf.
    MeshGroup& hearth = mesh.group("hearth", "");
    const float stone = 1.0f / 40.0f;
    addBox(hearth, {FIREBOX_LEFT - 8, 0, BREAST_FRONT - 2}, {FIREBOX_LEFT, FIREBOX_TOP, BREAST_FRONT}, stone);
    addBox(hearth, {FIREBOX_RIGHT, 0, BREAST_FRONT - 2}, {FIREBOX_RIGHT + 8, FIREBOX_TOP, BREAST_FRONT}, stone);
    addBox(hearth, {FIREBOX_LEFT - 8, FIREBOX_TOP, BREAST_FRONT - 2}, {FIREBOX_RIGHT + 8, MANTEL_TOP - 4, BREAST_FRONT}, stone);
    addBox(hearth, {BREAST_LEFT - 4, 0, -30}, {BREAST_RIGHT + 4, HEARTH_HEIGHT, BREAST_FRONT}, stone);
    MeshGroup& mantel = mesh.group("mantelpiece", "");
    addBox(mantel, {BREAST_LEFT - 6, MANTEL_TOP - 4, MANTEL_FRONT}, {BREAST_RIGHT + 6, MANTEL_TOP, BREAST_FRONT}, 1.0f / 40.0f);
    addBox(mantel, {BREAST_LEFT - 3, MANTEL_TOP - 7, MANTEL_FRONT + 2}, {BREAST_RIGHT + 3, MANTEL_TOP - 4, BREAST_FRONT}, 1.0f / 40.0f);

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
