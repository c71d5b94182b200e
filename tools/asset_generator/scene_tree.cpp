// The fir tree in the room's back right corner: tiers of needle branches on a
// trunk in a pot, its baubles, fairy lights, tinsel and star, and the presents.
#include "layout/scene_layout.h"
#include "scene_builders.h"
#include "scene_textures.h"

#include <glm/gtc/matrix_transform.hpp>

#include <cmath>

using namespace layout;

namespace {

constexpr float PI = 3.14159265358979f;
constexpr int TIERS = 9;

struct Tier { float bottom, top, radius; };

Tier tier(int i)
{
    const float bottom = 12.0f + i * 11.5f;
    return {bottom, bottom + 20.0f, (TREE_RADIUS - 3.0f) * (1.0f - i / 9.5f) + 3.0f};
}

// A point on tier `i` at angle `a` and radial fraction `f`: branch tips droop.
glm::vec3 onTier(int i, float a, float f)
{
    const Tier t = tier(i);
    const float jag = 0.9f + 0.1f * std::cos(a * 24.0f);
    const float r = f * t.radius * jag;
    const float y = t.top - (t.top - t.bottom) * std::pow(f, 1.2f) - 2.5f * std::pow(f, 3.0f) * jag;
    return TREE + glm::vec3(r * std::cos(a), y, r * std::sin(a));
}

// The radius of the tree's outline at height y (for lights and tinsel).
float outline(float y)
{
    return (TREE_RADIUS + 1.0f) * std::max(0.0f, 1.0f - (y - 10.0f) / (TREE_HEIGHT - 6.0f)) + 1.0f;
}

} // namespace

SceneMesh buildTreeBranches()
{
    SceneMesh mesh;
    mesh.addMaterial(makeMaterial("fir_needles", glm::vec3(1.0f), sceneTexture::NEEDLES, glm::vec3(0.1f), 12.0f));
    mesh.addMaterial(makeMaterial("fir_bark", glm::vec3(1.0f), sceneTexture::BARK));
    mesh.addMaterial(makeMaterial("tree_pot", {0.55f, 0.08f, 0.07f}, "", glm::vec3(0.25f), 120.0f));
    for (int i = 0; i < TIERS; ++i)
        addSheet(mesh.group("branches", "fir_needles"),
                 [i](float s, float f) { return onTier(i, 2.0f * PI * s, f); }, 48, 4, {8, 1.5f}, true, 0.8f);
    addLathe(mesh.group("trunk", "fir_bark"), {{0, 0}, {3.2f, 0}, {2.8f, 60}, {1.2f, TREE_HEIGHT - 12}, {0, TREE_HEIGHT - 12}},
             12, translation(TREE), {2, 6});
    addLathe(mesh.group("pot", "tree_pot"), {{0, 0}, {8, 0}, {10, 11}, {10.8f, 11.5f}, {10.8f, 12.5f}, {0, 12.5f}}, 24,
             translation(TREE));
    return mesh;
}

SceneMesh buildTreeDecor()
{
    SceneMesh mesh;
    const glm::vec3 colours[4] = {{0.75f, 0.05f, 0.06f}, {0.85f, 0.65f, 0.2f}, {0.75f, 0.78f, 0.82f}, {0.1f, 0.2f, 0.6f}};
    const char* names[4] = {"bauble_red", "bauble_gold", "bauble_silver", "bauble_blue"};
    // The baubles catch the fairy lights all around them, so they keep their
    // colour even on the tree's shaded side; glazed glass, they carry a small,
    // sharp highlight.
    for (int k = 0; k < 4; ++k) {
        SceneMaterial bauble = makeMaterial(names[k], colours[k], "", glm::vec3(0.3f), 250.0f);
        bauble.ambient = colours[k] * 2.5f;
        mesh.addMaterial(bauble);
    }
    SceneMaterial lights = makeMaterial("fairy_lights", {1.0f, 0.86f, 0.5f});
    lights.ambient = glm::vec3(1.0f, 0.85f, 0.5f) * 4.0f;
    mesh.addMaterial(lights);
    SceneMaterial star = makeMaterial("star_gold", {0.55f, 0.42f, 0.15f}, "", glm::vec3(1.0f, 0.9f, 0.6f), 80.0f);
    star.ambient = glm::vec3(1.0f, 0.8f, 0.3f) * 2.0f;
    mesh.addMaterial(star);
    mesh.addMaterial(makeMaterial("tinsel", {0.5f, 0.4f, 0.18f}, "", glm::vec3(1.0f, 0.9f, 0.6f), 80.0f));

    // Baubles hang below the branch tips, spread by the golden angle.
    int count = 0;
    for (int i = 0; i < TIERS - 1; ++i) {
        const int perTier = i < 5 ? 6 : 4;
        for (int j = 0; j < perTier; ++j, ++count) {
            const float a = count * 2.39996f;
            const glm::vec3 tip = onTier(i, a, 0.85f);
            const float r = 2.4f - 0.12f * i;
            addSphere(mesh.group(names[count % 4], names[count % 4]), 8, 12,
                      glm::scale(translation(tip - glm::vec3(0, r + 0.6f, 0)), glm::vec3(r)));
        }
    }
    // Fairy lights and tinsel wind up the tree in spirals.
    MeshGroup& bulbs = mesh.group("fairy_lights", "fairy_lights");
    for (int k = 0; k < 72; ++k) {
        const float y = 16.0f + k * 1.45f;
        const float a = k * 0.62f;
        const float r = outline(y) * 0.92f;
        addSphere(bulbs, 4, 6, glm::scale(translation(TREE + glm::vec3(r * std::cos(a), y, r * std::sin(a))), glm::vec3(0.8f)));
    }
    std::vector<glm::vec3> spiral;
    for (int k = 0; k <= 160; ++k) {
        const float y = 14.0f + k * 0.65f;
        const float a = 1.0f + k * 0.14f;
        const float r = outline(y) * 0.97f;
        spiral.push_back(TREE + glm::vec3(r * std::cos(a), y - 2.0f * std::abs(std::sin(a * 1.5f)), r * std::sin(a)));
    }
    addTube(mesh.group("tinsel", "tinsel"), spiral, 0.45f, 6);

    // A five-pointed star, facing the room, on the tree top.
    MeshGroup& g = mesh.group("star", "star_gold");
    const glm::vec3 centre = TREE + glm::vec3(0, TREE_HEIGHT + 5.0f, 0);
    std::vector<glm::vec3> rim;
    for (int k = 0; k < 10; ++k) {
        const float a = PI / 2.0f + k * PI / 5.0f;
        const float r = k % 2 == 0 ? 6.5f : 2.7f;
        rim.push_back(centre + glm::vec3(r * std::cos(a), r * std::sin(a), 0));
    }
    for (int side = 0; side < 2; ++side) {
        const float z = side == 0 ? -1.2f : 1.2f;
        const glm::vec3 n(0, 0, z > 0 ? 1.0f : -1.0f);
        const uint32_t c = g.addVertex(centre + glm::vec3(0, 0, z), n, {0.5f, 0.5f});
        for (int k = 0; k < 10; ++k) {
            const uint32_t a = g.addVertex(rim[k], n, {0, 0});
            const uint32_t b = g.addVertex(rim[(k + 1) % 10], n, {1, 0});
            if (z > 0)
                g.addTriangle(c, a, b);
            else
                g.addTriangle(c, b, a);
        }
    }
    return mesh;
}

SceneMesh buildPresents()
{
    SceneMesh mesh;
    for (int k = 0; k < 4; ++k)
        mesh.addMaterial(makeMaterial("wrapping_paper_" + std::to_string(k), glm::vec3(1.0f), sceneTexture::PAPER[k],
                                      glm::vec3(0.25f), 24.0f));
    // Satin ribbons: a bright sheen along them.
    mesh.addMaterial(makeMaterial("ribbon_gold", {0.5f, 0.37f, 0.12f}, "", glm::vec3(1.0f, 0.85f, 0.5f), 48.0f));
    mesh.addMaterial(makeMaterial("ribbon_red", {0.7f, 0.04f, 0.05f}, "", glm::vec3(0.3f), 40.0f));
    mesh.addMaterial(makeMaterial("ribbon_white", {0.92f, 0.92f, 0.9f}, "", glm::vec3(0.3f), 40.0f));
    const char* ribbons[3] = {"ribbon_gold", "ribbon_red", "ribbon_white"};
    const struct {
        glm::vec2 at;
        glm::vec3 size;
        float yaw;
        int paper, ribbon;
    } presents[] = {
        {{352, -74}, {14, 10, 12}, 0.2f, 0, 0},  {{372, -82}, {10, 14, 10}, -0.3f, 1, 1},
        {{393, -74}, {16, 8, 12}, 0.5f, 2, 2},   {{336, -52}, {10, 8, 10}, 0.9f, 3, 0},
        {{412, -54}, {12, 12, 12}, -0.6f, 0, 2}, {{358, -60}, {8, 6, 8}, 0.1f, 2, 1},
        {{404, -22}, {12, 10, 10}, 0.3f, 1, 0},  {{344, -22}, {9, 7, 9}, -0.2f, 3, 2},
    };
    for (const auto& p : presents) {
        const glm::mat4 m = placed({p.at.x, 0.0f, p.at.y}, p.yaw);
        const glm::vec3 h = p.size / 2.0f;
        const std::string paper = "wrapping_paper_" + std::to_string(p.paper);
        addBox(mesh.group(paper, paper), {-h.x, 0, -h.z}, {h.x, p.size.y, h.z}, 1.0f / 16.0f, m);
        MeshGroup& ribbon = mesh.group(ribbons[p.ribbon], ribbons[p.ribbon]);
        const float w = 0.9f, e = 0.15f;
        addBox(ribbon, {-w, -e, -h.z - e}, {w, p.size.y + e, h.z + e}, 0.1f, m);
        addBox(ribbon, {-h.x - e, -e, -w}, {h.x + e, p.size.y + e, w}, 0.1f, m);
        for (float side : {-1.0f, 1.0f}) {
            glm::mat4 bow = glm::translate(m, {side * 1.8f, p.size.y + 1.0f, 0});
            bow = glm::rotate(bow, side * 0.5f, glm::vec3(0, 0, 1));
            addSphere(ribbon, 6, 10, glm::scale(bow, {2.0f, 0.9f, 1.2f}));
        }
    }
    return mesh;
}
