// The generated scene pack as the program reads it: the fourteen models through
// Assimp with the program's flags, their textures through stb_image, the sky
// sphere, the camera route, and where the room puts things relative to the
// fixed fire, plume and snow positions. Also: two generator runs, same bytes.
#include "camera/camera.h"
#include "layout/scene_layout.h"
#include "support/process.h"
#include "support/scene_emitter.h"
#include "support/run_dir.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <glm/glm.hpp>
#include <gtest/gtest.h>
#include <stb/stb_image.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace fs = std::filesystem;

namespace {

const char* const MODEL_FILES[14] = {
    "test-branches.obj", "test-room-fireplace.obj", "curtains.obj", "test-pictures.obj", "test-sofa.obj",
    "test-decke.obj", "test-presents.obj", "scene-cats.obj", "test-table.obj", "test-book-glasses.obj",
    "test-cigar.obj", "scene-penis.obj", "test-tree-decor.obj", "morepenis.obj",
};
constexpr unsigned MODEL_FLAGS = aiProcess_Triangulate | aiProcess_FlipUVs;
constexpr float MODEL_SCALE = 0.5f;

struct Box {
    glm::vec3 lo{1e30f}, hi{-1e30f};
    void add(const glm::vec3& p) { lo = glm::min(lo, p); hi = glm::max(hi, p); }
    bool contains(const glm::vec3& p, float margin = 0.0f) const
    {
        return glm::all(glm::greaterThanEqual(p, lo - margin)) && glm::all(glm::lessThanEqual(p, hi + margin));
    }
};

std::string scenePath(const std::string& file)
{
    return runDir() + "/Assets/scene/" + file;
}

// An imported model, kept with its importer.
struct LoadedModel {
    std::unique_ptr<Assimp::Importer> importer = std::make_unique<Assimp::Importer>();
    const aiScene* scene = nullptr;
};

LoadedModel load(const std::string& path, unsigned flags = MODEL_FLAGS)
{
    LoadedModel model;
    model.scene = model.importer->ReadFile(path, flags);
    return model;
}

// World-space box of one mesh (the program scales models by 0.5).
Box worldBox(const aiMesh* mesh)
{
    Box box;
    for (unsigned i = 0; i < mesh->mNumVertices; ++i)
        box.add(glm::vec3(mesh->mVertices[i].x, mesh->mVertices[i].y, mesh->mVertices[i].z) * MODEL_SCALE);
    return box;
}

Box roomBox()
{
    const LoadedModel room = load(scenePath("test-room-fireplace.obj"));
    Box box;
    for (unsigned m = 0; m < room.scene->mNumMeshes; ++m) {
        const Box b = worldBox(room.scene->mMeshes[m]);
        box.add(b.lo);
        box.add(b.hi);
    }
    return box;
}

// The union of the boxes of every mesh whose name contains `part`.
Box meshBox(const std::string& file, const std::string& part)
{
    const LoadedModel model = load(scenePath(file));
    Box box;
    for (unsigned m = 0; model.scene && m < model.scene->mNumMeshes; ++m) {
        if (std::string(model.scene->mMeshes[m]->mName.C_Str()).find(part) == std::string::npos)
            continue;
        const Box b = worldBox(model.scene->mMeshes[m]);
        box.add(b.lo);
        box.add(b.hi);
    }
    return box;
}

glm::vec3 position(const aiMesh* mesh, unsigned index)
{
    const aiVector3D& v = mesh->mVertices[index];
    return {v.x, v.y, v.z};
}

// An edge by its two end positions, the same whichever way round and in
// whichever mesh: welded only where the files hold identical coordinates.
using Edge = std::array<float, 6>;

Edge edgeBetween(const glm::vec3& a, const glm::vec3& b)
{
    const bool ordered = std::tie(a.x, a.y, a.z) < std::tie(b.x, b.y, b.z);
    const glm::vec3& first = ordered ? a : b;
    const glm::vec3& second = ordered ? b : a;
    return {first.x, first.y, first.z, second.x, second.y, second.z};
}

std::vector<glm::vec3> routePoints()
{
    std::ifstream in(scenePath("curve-controlpoints-handles.txt"));
    std::vector<float> numbers;
    for (std::string line; std::getline(in, line);)
        numbers.push_back(std::stof(line));
    std::vector<glm::vec3> points;
    for (size_t i = 0; i + 2 < numbers.size(); i += 3)
        points.emplace_back(glm::vec3(numbers[i], numbers[i + 1], numbers[i + 2]) * MODEL_SCALE);
    return points;
}

glm::vec3 bezier(const std::vector<glm::vec3>& p, size_t segment, float t)
{
    const size_t k = segment * 3;
    const float s = 1.0f - t;
    return s * s * s * p[k] + 3.0f * s * s * t * p[k + 1] + 3.0f * s * t * t * p[k + 2] + t * t * t * p[k + 3];
}

std::map<std::string, std::string> filesBelow(const std::string& dir)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), dir).string()] = readFile(entry.path().string());
    return files;
}


struct Triangle {
    glm::vec3 a, b, c;
};

// The triangles of every mesh of `file` whose name contains `part`, in world units.
std::vector<Triangle> meshTriangles(const std::string& file, const std::string& part = "")
{
    const LoadedModel model = load(scenePath(file));
    std::vector<Triangle> triangles;
    for (unsigned m = 0; model.scene && m < model.scene->mNumMeshes; ++m) {
        const aiMesh* mesh = model.scene->mMeshes[m];
        if (std::string(mesh->mName.C_Str()).find(part) == std::string::npos)
            continue;
        for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
            const unsigned* i = mesh->mFaces[f].mIndices;
            triangles.push_back({position(mesh, i[0]) * MODEL_SCALE, position(mesh, i[1]) * MODEL_SCALE,
                                 position(mesh, i[2]) * MODEL_SCALE});
        }
    }
    return triangles;
}

// How many of the closed surfaces among `triangles` (wound counter-clockwise
// seen from outside) hold p: a ray from p leaves each surface that holds it once
// more than it enters it, and every other one as often as it enters it.
int enclosingSurfaces(const std::vector<Triangle>& triangles, const glm::vec3& p)
{
    const glm::vec3 ray = glm::normalize(glm::vec3(0.31f, 0.83f, 0.47f));
    int count = 0;
    for (const Triangle& t : triangles) {
        const glm::vec3 e1 = t.b - t.a, e2 = t.c - t.a, q = glm::cross(ray, e2);
        const float det = glm::dot(e1, q);
        if (std::abs(det) < 1e-12f)
            continue;
        const glm::vec3 s = p - t.a;
        const float u = glm::dot(s, q) / det;
        const glm::vec3 r = glm::cross(s, e1);
        const float v = glm::dot(ray, r) / det;
        if (u < 0.0f || v < 0.0f || u + v > 1.0f || glm::dot(e2, r) / det <= 0.0f)
            continue;
        count += glm::dot(glm::cross(e1, e2), ray) > 0.0f ? 1 : -1;
    }
    return count;
}

// The distance from p to the nearest point of a triangle.
float distanceTo(const Triangle& t, const glm::vec3& p)
{
    const glm::vec3 ab = t.b - t.a, ac = t.c - t.a, n = glm::cross(ab, ac);
    const float area = glm::dot(n, n);
    if (area > 0.0f) {
        // Inside the prism over the triangle the nearest point is on its plane.
        const glm::vec3 ap = p - t.a;
        const float u = glm::dot(glm::cross(ap, ac), n) / area, v = glm::dot(glm::cross(ab, ap), n) / area;
        if (u >= 0.0f && v >= 0.0f && u + v <= 1.0f)
            return std::abs(glm::dot(ap, n)) / std::sqrt(area);
    }
    auto toSegment = [&](const glm::vec3& a, const glm::vec3& b) {
        const glm::vec3 d = b - a;
        const float f = glm::dot(d, d) > 0.0f ? std::clamp(glm::dot(p - a, d) / glm::dot(d, d), 0.0f, 1.0f) : 0.0f;
        return glm::distance(p, a + d * f);
    };
    return std::min({toSegment(t.a, t.b), toSegment(t.b, t.c), toSegment(t.c, t.a)});
}

float distanceTo(const Box& box, const glm::vec3& p)
{
    return glm::length(glm::max(glm::max(box.lo - p, p - box.hi), glm::vec3(0.0f)));
}

float luminance(const unsigned char* rgb)
{
    return 0.2126f * rgb[0] + 0.7152f * rgb[1] + 0.0722f * rgb[2];
}

// An image decoded as the program decodes material textures.
struct Rgb {
    int width = 0, height = 0;
    std::vector<unsigned char> pixels;
    explicit Rgb(const std::string& path)
    {
        int channels = 0;
        unsigned char* data = stbi_load(path.c_str(), &width, &height, &channels, 3);
        if (data)
            pixels.assign(data, data + static_cast<size_t>(width) * height * 3);
        stbi_image_free(data);
    }
};
} // namespace

TEST(SceneModels, EveryModelImportsWithNormalsAndItsTexturesDecode)
{
    size_t triangles = 0;
    for (const char* file : MODEL_FILES) {
        SCOPED_TRACE(file);
        const LoadedModel model = load(scenePath(file));
        ASSERT_NE(model.scene, nullptr) << model.importer->GetErrorString();
        EXPECT_EQ(model.scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE, 0u);
        ASSERT_NE(model.scene->mRootNode, nullptr);
        ASSERT_GE(model.scene->mNumMeshes, 1u);
        EXPECT_LE(model.scene->mNumMeshes, 16u);
        for (unsigned m = 0; m < model.scene->mNumMeshes; ++m) {
            const aiMesh* mesh = model.scene->mMeshes[m];
            SCOPED_TRACE(mesh->mName.C_Str());
            ASSERT_TRUE(mesh->HasNormals());
            for (unsigned v = 0; v < mesh->mNumVertices; ++v)
                ASSERT_NEAR(mesh->mNormals[v].Length(), 1.0f, 0.01f);
            for (unsigned f = 0; f < mesh->mNumFaces; ++f)
                ASSERT_EQ(mesh->mFaces[f].mNumIndices, 3u);
            triangles += mesh->mNumFaces;
            const aiMaterial* material = model.scene->mMaterials[mesh->mMaterialIndex];
            if (material->GetTextureCount(aiTextureType_DIFFUSE) > 0) {
                EXPECT_TRUE(mesh->HasTextureCoords(0));
            }
        }
        for (unsigned i = 0; i < model.scene->mNumMaterials; ++i) {
            for (aiTextureType type : {aiTextureType_DIFFUSE, aiTextureType_SPECULAR}) {
                for (unsigned t = 0; t < model.scene->mMaterials[i]->GetTextureCount(type); ++t) {
                    aiString name;
                    model.scene->mMaterials[i]->GetTexture(type, t, &name);
                    int w = 0, h = 0, channels = 0;
                    unsigned char* pixels = stbi_load(scenePath(name.C_Str()).c_str(), &w, &h, &channels, 3);
                    EXPECT_NE(pixels, nullptr) << name.C_Str();
                    EXPECT_LE(std::max(w, h), 1024) << name.C_Str();
                    stbi_image_free(pixels);
                }
            }
        }
    }
    EXPECT_LT(triangles, 250000u);
    EXPECT_GT(triangles, 10000u);
}

// A triangle thinner than the files' precision covers no pixel yet costs every
// pass, and its texture gradients blow up.
TEST(SceneModels, NoModelHasDegenerateOrSliverTriangles)
{
    for (const char* file : MODEL_FILES) {
        SCOPED_TRACE(file);
        const LoadedModel model = load(scenePath(file));
        ASSERT_NE(model.scene, nullptr);
        for (unsigned m = 0; m < model.scene->mNumMeshes; ++m) {
            const aiMesh* mesh = model.scene->mMeshes[m];
            for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
                const unsigned* index = mesh->mFaces[f].mIndices;
                const glm::vec3 a = position(mesh, index[0]), b = position(mesh, index[1]), c = position(mesh, index[2]);
                const float longest = std::max({glm::distance(a, b), glm::distance(b, c), glm::distance(c, a)});
                const float height = glm::length(glm::cross(b - a, c - a)) / longest;
                ASSERT_GT(height, 1e-3f) << mesh->mName.C_Str() << " face " << f;
            }
        }
    }
}

// Floor, ceiling, walls, window reveals, chimney breast and firebox enclose the
// room: every edge of theirs is shared by exactly two triangles, so no crack, no
// T-junction and no missing piece lets the sky through. Only the rim of the
// outer face, which no one sees from inside, may stay open.
TEST(SceneModels, RoomShellIsWatertight)
{
    const std::vector<std::string> shell = {"floor", "ceiling", "walls", "wainscot", "outside", "chimney_breast", "firebox"};
    const LoadedModel room = load(scenePath("test-room-fireplace.obj"));
    ASSERT_NE(room.scene, nullptr);
    struct Use {
        int triangles = 0;
        bool outside = true;
    };
    std::map<Edge, Use> edges;
    std::vector<std::string> found;
    for (unsigned m = 0; m < room.scene->mNumMeshes; ++m) {
        const aiMesh* mesh = room.scene->mMeshes[m];
        const std::string name = mesh->mName.C_Str();
        if (std::find(shell.begin(), shell.end(), name) == shell.end())
            continue;
        found.push_back(name);
        for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
            const unsigned* index = mesh->mFaces[f].mIndices;
            for (int k = 0; k < 3; ++k) {
                Use& use = edges[edgeBetween(position(mesh, index[k]), position(mesh, index[(k + 1) % 3]))];
                ++use.triangles;
                use.outside = use.outside && name == "outside";
            }
        }
    }
    EXPECT_EQ(found.size(), shell.size());
    int unsealed = 0;
    std::string first;
    for (const auto& [edge, use] : edges) {
        if (use.triangles == 2 || (use.triangles == 1 && use.outside))
            continue;
        if (unsealed++ == 0)
            first = std::to_string(use.triangles) + " triangles at (" + std::to_string(edge[0]) + ", " +
                    std::to_string(edge[1]) + ", " + std::to_string(edge[2]) + ") - (" + std::to_string(edge[3]) +
                    ", " + std::to_string(edge[4]) + ", " + std::to_string(edge[5]) + ")";
    }
    EXPECT_EQ(unsealed, 0) << "the first: " << first;
}

TEST(SceneModels, FallbackTextureIsPlainWhite)
{
    int w = 0, h = 0, channels = 0;
    unsigned char* pixels = stbi_load(scenePath("default.png").c_str(), &w, &h, &channels, 3);
    ASSERT_NE(pixels, nullptr);
    const bool white = std::all_of(pixels, pixels + w * h * 3, [](unsigned char c) { return c == 255; });
    stbi_image_free(pixels);
    EXPECT_TRUE(white);
}

TEST(SceneModels, SkySphereHasPositionsNormalsAndUvs)
{
    const LoadedModel sphere = load(runDir() + "/Assets/sphere.obj",
                                    aiProcess_CalcTangentSpace | aiProcess_JoinIdenticalVertices |
                                        aiProcess_Triangulate | aiProcess_SortByPType);
    ASSERT_NE(sphere.scene, nullptr) << sphere.importer->GetErrorString();
    ASSERT_EQ(sphere.scene->mNumMeshes, 1u);
    const aiMesh* mesh = sphere.scene->mMeshes[0];
    EXPECT_TRUE(mesh->HasPositions());
    EXPECT_TRUE(mesh->HasNormals());
    EXPECT_TRUE(mesh->HasTextureCoords(0));
    EXPECT_GT(mesh->mNumFaces, 500u);
    for (unsigned v = 0; v < mesh->mNumVertices; ++v)
        ASSERT_NEAR(glm::length(glm::vec3(mesh->mVertices[v].x, mesh->mVertices[v].y, mesh->mVertices[v].z)), 1.0f, 1e-3f);
}

TEST(ScenePlacement, FireAndFireLightAreInsideTheFirebox)
{
    const Box firebox = meshBox("test-room-fireplace.obj", "firebox");
    ASSERT_LT(firebox.lo.x, firebox.hi.x);
    EXPECT_TRUE(firebox.contains(sceneEmitter(EmitterKind::Fire).position));
    EXPECT_TRUE(firebox.contains(layout::FIRE_LIGHT));
    // The opening faces the room: the room lies in front of the firebox.
    EXPECT_GT(firebox.lo.z, roomBox().lo.z + 100.0f);
}

TEST(ScenePlacement, PlumeRisesFromTheCigarTip)
{
    const Box tip = meshBox("test-cigar.obj", "tip");
    ASSERT_LT(tip.lo.x, tip.hi.x);
    const glm::vec3 plume = sceneEmitter(EmitterKind::Smoke).position;
    EXPECT_TRUE(tip.contains(plume, 1.0f));
    const Box tray = meshBox("test-cigar.obj", "ashtray");
    const Box table = meshBox("test-table.obj", "side_table");
    EXPECT_NEAR(tray.lo.y, table.hi.y, 0.05f);
    EXPECT_TRUE(table.contains(glm::vec3(plume.x, table.hi.y, plume.z)));
}

// Every flake starts above the room and beyond its left or front wall.
TEST(ScenePlacement, SnowFallsOutsideTheRoomAndTheRoomStaysTight)
{
    const Box room = roomBox();
    for (const EmitterSettings& row : layout::EMITTERS) {
        if (row.kind != EmitterKind::Snow)
            continue;
        const glm::vec3 snow = row.position;
        EXPECT_GT(snow.y, room.hi.y) << snow.x << " " << snow.z;
        EXPECT_TRUE(snow.x < room.lo.x || snow.z < room.lo.z) << snow.x << " " << snow.z;
    }
}

TEST(CameraRoute, HoldsFortyPointsInsideTheRoom)
{
    std::ifstream in(scenePath("curve-controlpoints-handles.txt"));
    int lines = 0;
    for (std::string line; std::getline(in, line); ++lines)
        ASSERT_NO_THROW((void)std::stof(line)) << "line " << lines + 1;
    EXPECT_EQ(lines, 120);
    const Box room = roomBox();
    const std::vector<glm::vec3> points = routePoints();
    ASSERT_EQ(points.size(), 40u);
    for (const glm::vec3& p : points)
        EXPECT_TRUE(room.contains(p, -10.0f)) << p.x << " " << p.y << " " << p.z;
}

TEST(CameraRoute, JointsAreSmoothAndViewsStayLevel)
{
    const std::vector<glm::vec3> p = routePoints();
    ASSERT_EQ(p.size(), 40u);
    for (size_t a = 3; a + 1 < p.size(); a += 3) {
        const glm::vec3 in = p[a] - p[a - 1], out = p[a + 1] - p[a];
        ASSERT_GT(glm::length(in), 1.0f);
        ASSERT_GT(glm::length(out), 1.0f);
        EXPECT_GT(glm::dot(glm::normalize(in), glm::normalize(out)), 0.9999f) << "anchor " << a / 3;
    }
    for (size_t segment = 0; segment < 13; ++segment) {
        for (float t = 0.0f; t <= 1.0f; t += 0.05f) {
            const glm::vec3 tangent = bezier(p, segment, std::min(t + 0.001f, 1.0f)) - bezier(p, segment, std::max(t - 0.001f, 0.0f));
            ASSERT_GT(glm::length(tangent), 1e-3f);
            EXPECT_LT(std::abs(glm::normalize(tangent).y), 0.6f) << "segment " << segment << " t " << t;
        }
    }
}

// Every segment takes 10 s whatever its length, so the ratio of the longest to
// the shortest is the change of pace the viewer feels. Up to 1.4 reads as the
// tour easing into a turn; beyond it the camera lurches from a crawl to a dash.
TEST(CameraRoute, EverySegmentIsFlownAtNearlyTheSamePace)
{
    const std::vector<glm::vec3> p = routePoints();
    ASSERT_EQ(p.size(), 40u);
    float shortest = 1e30f, longest = 0.0f;
    for (size_t segment = 0; segment < 13; ++segment) {
        float length = 0.0f;
        for (int step = 1; step <= 200; ++step)
            length += glm::distance(bezier(p, segment, step / 200.0f), bezier(p, segment, (step - 1) / 200.0f));
        shortest = std::min(shortest, length);
        longest = std::max(longest, length);
    }
    EXPECT_GT(shortest, 30.0f) << "the camera should travel, not hover";
    EXPECT_LT(longest / shortest, 1.4f) << "longest " << longest << ", shortest " << shortest;
}

// The camera flies the route as the program flies it, frame by frame at 0.1 s,
// and keeps this far from every surface of the scene, walls included: nothing
// looms at the edge of the picture or is cut by the near plane.
TEST(CameraRoute, KeepsClearOfEverySurface)
{
    constexpr float CLEARANCE = 12.0f;
    struct Part {
        std::string name;
        Box box;
        std::vector<Triangle> triangles;
    };
    std::vector<Part> parts;
    for (const char* file : MODEL_FILES) {
        const LoadedModel model = load(scenePath(file));
        for (unsigned m = 0; model.scene && m < model.scene->mNumMeshes; ++m) {
            const std::string name = model.scene->mMeshes[m]->mName.C_Str();
            parts.push_back({std::string(file) + ":" + name, worldBox(model.scene->mMeshes[m]), meshTriangles(file, name)});
        }
    }
    Camera camera(nullptr);
    const int frames = static_cast<int>(layout::ROUTE_SECONDS * 10.0);
    float nearest = 1e30f;
    std::string where;
    for (int frame = 0; frame < frames; ++frame) {
        camera.update(0.1f);
        for (const Part& part : parts) {
            if (distanceTo(part.box, camera.position) >= nearest)
                continue;
            for (const Triangle& t : part.triangles) {
                const float d = distanceTo(t, camera.position);
                if (d < nearest) {
                    nearest = d;
                    where = part.name + " at " + std::to_string((frame + 1) / 10.0) + " s";
                }
            }
        }
    }
    EXPECT_GE(nearest, CLEARANCE) << "nearest " << nearest << ": " << where;
}

// The blanket lies on the sofa, following its cushions, and no point of it,
// on either face, is inside the upholstery.
TEST(SceneModels, BlanketLiesOnTheSofaAndNeverInIt)
{
    const std::vector<Triangle> sofa = meshTriangles("test-sofa.obj", "sofa");
    ASSERT_FALSE(sofa.empty());
    // The count itself: the seat's frame alone, the frame and a cushion on it, the air above.
    EXPECT_EQ(enclosingSurfaces(sofa, layout::SOFA_CENTRE + glm::vec3(20, 10, 0)), 1);
    EXPECT_EQ(enclosingSurfaces(sofa, layout::SOFA_CENTRE + glm::vec3(20, 17, 0)), 2);
    EXPECT_EQ(enclosingSurfaces(sofa, layout::SOFA_CENTRE + glm::vec3(20, 30, 5)), 0);

    const LoadedModel blanket = load(scenePath("test-decke.obj"));
    ASSERT_NE(blanket.scene, nullptr);
    int vertices = 0, inside = 0, resting = 0;
    for (unsigned m = 0; m < blanket.scene->mNumMeshes; ++m) {
        const aiMesh* mesh = blanket.scene->mMeshes[m];
        for (unsigned v = 0; v < mesh->mNumVertices; ++v, ++vertices) {
            const glm::vec3 p = position(mesh, v) * MODEL_SCALE;
            inside += enclosingSurfaces(sofa, p) > 0 ? 1 : 0;
            float nearest = 1e30f;
            for (const Triangle& t : sofa)
                nearest = std::min(nearest, distanceTo(t, p));
            resting += nearest < 2.5f ? 1 : 0;
        }
    }
    ASSERT_GT(vertices, 0);
    EXPECT_EQ(inside, 0) << "of " << vertices;
    EXPECT_GT(resting, vertices / 2) << "of " << vertices << " lie on the sofa";
}

// Brick, wood, fabric and wallpaper carry relief: their material's specular
// texture is a relief map (R height over its full range, B its depth, alike in
// every texel) laid over the colour texture, and the colour texture is darker
// in the deepest parts of the relief than over the whole.
TEST(SceneModels, SurfacesWithReliefCarryItsMapAndShowItInTheirColour)
{
    const struct {
        const char* file;
        const char* material;
    } surfaces[] = {
        {"test-room-fireplace.obj", "chimney_brick"}, {"test-room-fireplace.obj", "floor_planks"},
        {"test-room-fireplace.obj", "wainscot"},      {"test-room-fireplace.obj", "wallpaper"},
        {"test-sofa.obj", "sofa_fabric"},             {"test-decke.obj", "knitted_wool"},
        {"curtains.obj", "curtain_damask"},           {"test-table.obj", "table_wood"},
    };
    for (const auto& surface : surfaces) {
        SCOPED_TRACE(surface.material);
        const LoadedModel model = load(scenePath(surface.file));
        ASSERT_NE(model.scene, nullptr);
        const aiMaterial* material = nullptr;
        for (unsigned i = 0; i < model.scene->mNumMaterials; ++i)
            if (model.scene->mMaterials[i]->GetName() == aiString(surface.material))
                material = model.scene->mMaterials[i];
        ASSERT_NE(material, nullptr);
        aiString colourName, reliefName;
        ASSERT_EQ(material->GetTexture(aiTextureType_DIFFUSE, 0, &colourName), AI_SUCCESS);
        ASSERT_EQ(material->GetTexture(aiTextureType_SPECULAR, 0, &reliefName), AI_SUCCESS);
        const Rgb colour(scenePath(colourName.C_Str())), relief(scenePath(reliefName.C_Str()));
        ASSERT_FALSE(relief.pixels.empty()) << reliefName.C_Str();
        ASSERT_EQ(relief.width, colour.width);
        ASSERT_EQ(relief.height, colour.height);

        const size_t texels = relief.pixels.size() / 3;
        std::vector<unsigned char> heights;
        double overall = 0.0;
        for (size_t i = 0; i < texels; ++i) {
            heights.push_back(relief.pixels[i * 3]);
            EXPECT_EQ(relief.pixels[i * 3 + 2], relief.pixels[2]) << "texel " << i;
            overall += luminance(&colour.pixels[i * 3]);
        }
        EXPECT_GT(relief.pixels[2], 0) << "a relief of some depth";
        EXPECT_EQ(*std::min_element(heights.begin(), heights.end()), 0);
        EXPECT_EQ(*std::max_element(heights.begin(), heights.end()), 255);
        std::vector<unsigned char> sorted = heights;
        std::nth_element(sorted.begin(), sorted.begin() + texels / 10, sorted.end());
        const unsigned char deep = sorted[texels / 10];
        double deepSum = 0.0;
        int deepCount = 0;
        for (size_t i = 0; i < texels; ++i)
            if (heights[i] <= deep) {
                deepSum += luminance(&colour.pixels[i * 3]);
                ++deepCount;
            }
        EXPECT_LT(deepSum / deepCount, 0.95 * overall / texels);
    }
}

TEST(SceneGenerator, TwoRunsWriteIdenticalSceneFiles)
{
    TempDir first, second;
    ProcessOptions options;
    options.timeoutSeconds = 120.0;
    for (const TempDir* dir : {&first, &second}) {
        options.workDir = dir->path;
        const ProcessResult result = runProcess(FROSTEMBER_ASSET_GENERATOR, {dir->path + "/Assets"}, options);
        ASSERT_EQ(result.status, 0) << result.err;
    }
    const auto a = filesBelow(first.path + "/Assets/scene");
    const auto b = filesBelow(second.path + "/Assets/scene");
    EXPECT_GT(a.size(), 40u);
    EXPECT_TRUE(a == b);
    EXPECT_EQ(readFile(first.path + "/Assets/sphere.obj"), readFile(second.path + "/Assets/sphere.obj"));
    // The run directory holds the same pack.
    EXPECT_TRUE(a == filesBelow(runDir() + "/Assets/scene"));
}
