// Model import against files written by the tests: vertices, node transforms,
// materials, the per-model texture cache and import failures.
#include "app/scene_state.h"
#include "camera/bounding_box.h"
#include "camera/frustum.h"
#include "model/model.h"
#include "support/gl_context.h"
#include "support/process.h"

#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>
#include <stb/stb_image_write.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string base64(const std::vector<unsigned char>& bytes)
{
    static const char* digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const unsigned int b0 = bytes[i];
        const unsigned int b1 = i + 1 < bytes.size() ? bytes[i + 1] : 0;
        const unsigned int b2 = i + 2 < bytes.size() ? bytes[i + 2] : 0;
        const unsigned int triple = (b0 << 16) | (b1 << 8) | b2;
        out += digits[(triple >> 18) & 63];
        out += digits[(triple >> 12) & 63];
        out += i + 1 < bytes.size() ? digits[(triple >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? digits[triple & 63] : '=';
    }
    return out;
}

void appendFloats(std::vector<unsigned char>& bytes, std::initializer_list<float> values)
{
    for (float value : values) {
        unsigned char raw[4];
        std::memcpy(raw, &value, 4);
        bytes.insert(bytes.end(), raw, raw + 4);
    }
}

// Four one-triangle meshes in a node tree:
//   root (rotated 90 degrees about z, mesh 0)
//     child (translated by (1, 0, 0), mesh 1)
//       grandchild (translated by (0, 2, 0), mesh 2)
//     sibling (scaled by 2, mesh 3)
// Triangle k has the corners (0, 0, k), (1, 0, k), (0, 1, k); every normal is (1, 0, 0).
std::string nodeTreeGltf()
{
    std::vector<unsigned char> bytes;
    for (int k = 0; k < 4; ++k) {
        const float z = static_cast<float>(k);
        appendFloats(bytes, {0, 0, z, 1, 0, z, 0, 1, z});
    }
    appendFloats(bytes, {1, 0, 0, 1, 0, 0, 1, 0, 0});

    std::ostringstream accessors;
    for (int k = 0; k < 4; ++k)
        accessors << R"({"bufferView":0,"byteOffset":)" << k * 36
                  << R"(,"componentType":5126,"count":3,"type":"VEC3","min":[0,0,)" << k << R"(],"max":[1,1,)" << k
                  << "]},";
    accessors << R"({"bufferView":1,"componentType":5126,"count":3,"type":"VEC3"})";

    std::ostringstream meshes;
    for (int k = 0; k < 4; ++k)
        meshes << (k ? "," : "") << R"({"primitives":[{"attributes":{"POSITION":)" << k << R"(,"NORMAL":4}}]})";

    return R"({"asset":{"version":"2.0"},"scene":0,"scenes":[{"nodes":[0]}],
"nodes":[
 {"name":"root","rotation":[0,0,0.70710678,0.70710678],"mesh":0,"children":[1,3]},
 {"name":"child","translation":[1,0,0],"mesh":1,"children":[2]},
 {"name":"grandchild","translation":[0,2,0],"mesh":2},
 {"name":"sibling","scale":[2,2,2],"mesh":3}],
"meshes":[)" + meshes.str() +
           R"(],
"accessors":[)" + accessors.str() +
           R"(],
"bufferViews":[{"buffer":0,"byteOffset":0,"byteLength":144},{"buffer":0,"byteOffset":144,"byteLength":36}],
"buffers":[{"byteLength":180,"uri":"data:application/octet-stream;base64,)" +
           base64(bytes) + R"("}]})";
}

class ModelImportTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        previousFrustum = ::scene.frustum;
        ::scene.frustum = &frustum;
        writePng("default.png", {9, 9, 9});
    }

    void TearDown() override { ::scene.frustum = previousFrustum; }

    // A 1x1 texture file of one colour.
    void writePng(const std::string& name, std::vector<unsigned char> rgb)
    {
        ASSERT_NE(stbi_write_png((dir.path + "/" + name).c_str(), 1, 1, 3, rgb.data(), 3), 0);
    }

    std::unique_ptr<Model> load(const std::string& name, glm::vec3 position = glm::vec3(0.0f),
                                glm::vec3 scale = glm::vec3(1.0f))
    {
        return std::make_unique<Model>((dir.path + "/" + name).c_str(), position, scale);
    }

    // The single texel of a loaded 1x1 texture.
    static std::vector<unsigned char> texel(GLuint id)
    {
        std::vector<unsigned char> rgba(4, 0);
        glBindTexture(GL_TEXTURE_2D, id);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        glBindTexture(GL_TEXTURE_2D, 0);
        return {rgba[0], rgba[1], rgba[2]};
    }

    static const Mesh& meshWithMaterial(const Model& model, const std::string& name)
    {
        for (const Mesh& mesh : model.meshes)
            if (mesh.material.name == name)
                return mesh;
        ADD_FAILURE() << "no mesh with material " << name;
        return model.meshes.front();
    }

    TempDir dir;
    Frustum frustum{nullptr};
    Frustum* previousFrustum = nullptr;
};

void expectVec3(const glm::vec3& actual, const glm::vec3& expected)
{
    EXPECT_NEAR(actual.x, expected.x, 1e-5f);
    EXPECT_NEAR(actual.y, expected.y, 1e-5f);
    EXPECT_NEAR(actual.z, expected.z, 1e-5f);
}

} // namespace

TEST_F(ModelImportTest, NodeTransformsMovePositionsDepthFirstAndLeaveNormals)
{
    writeFile(dir.path + "/tree.gltf", nodeTreeGltf());
    const auto model = load("tree.gltf");
    ASSERT_EQ(model->meshes.size(), 4u);

    // Pre-order: root, child, grandchild, sibling; parent transforms apply after the child's own.
    const glm::vec3 expectedFirstCorner[4] = {{0, 0, 0}, {0, 1, 1}, {-2, 1, 2}, {0, 0, 6}};
    const glm::vec3 expectedSecondCorner[4] = {{0, 1, 0}, {0, 2, 1}, {-2, 2, 2}, {0, 2, 6}};
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE("mesh " + std::to_string(k));
        const Mesh& mesh = model->meshes[k];
        ASSERT_EQ(mesh.vertices.size(), 3u);
        expectVec3(mesh.vertices[0].position, expectedFirstCorner[k]);
        expectVec3(mesh.vertices[1].position, expectedSecondCorner[k]);
        for (const Vertex& vertex : mesh.vertices)
            expectVec3(vertex.normal, {1, 0, 0});
        EXPECT_EQ(mesh.indices, (std::vector<GLuint>{0, 1, 2}));
        EXPECT_EQ(mesh.frustum, &frustum);
        expectVec3(mesh.bounds->minCorner, glm::min(glm::min(mesh.vertices[0].position, mesh.vertices[1].position),
                                                    mesh.vertices[2].position));
    }
}

TEST_F(ModelImportTest, VerticesFlipVZeroMissingPartsAndKeepOnlyTriangles)
{
    writeFile(dir.path + "/shapes.obj", R"(v 0 0 0
v 1 0 0
v 1 1 0
v 0 1 0
v 5 5 5
v 6 6 6
vt 0.25 0.1
vt 0.5 0.75
vt 1 1
vn 0 0 1
o textured
f 1/1/1 2/2/1 3/3/1
o bare
f 1 2 3 4
o mixed
f 1 2 3
l 5 6
p 5
f 2 3 4
)");
    const auto model = load("shapes.obj");
    ASSERT_EQ(model->meshes.size(), 3u);
    EXPECT_EQ(model->directory, dir.path);
    EXPECT_EQ(model->frustum, &frustum);

    const Mesh& textured = model->meshes[0];
    ASSERT_EQ(textured.vertices.size(), 3u);
    expectVec3(textured.vertices[1].position, {1, 0, 0});
    expectVec3(textured.vertices[1].normal, {0, 0, 1});
    EXPECT_FLOAT_EQ(textured.vertices[0].texCoords.x, 0.25f);
    EXPECT_FLOAT_EQ(textured.vertices[0].texCoords.y, 0.9f) << "v is flipped to 1 - v";
    EXPECT_FLOAT_EQ(textured.vertices[1].texCoords.y, 0.25f);

    const Mesh& bare = model->meshes[1];
    EXPECT_EQ(bare.indices.size(), 6u) << "the quad is split into two triangles";
    for (const Vertex& vertex : bare.vertices) {
        expectVec3(vertex.normal, {0, 0, 0});
        EXPECT_EQ(vertex.texCoords, glm::vec2(0.0f));
    }

    // The line and the point would shift the second triangle out of step.
    const Mesh& mixed = model->meshes[2];
    ASSERT_EQ(mixed.indices.size(), 6u);
    const glm::vec3 secondTriangle[3] = {{1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    for (int i = 0; i < 3; ++i)
        expectVec3(mixed.vertices.at(mixed.indices[3 + i]).position, secondTriangle[i]);
}

TEST_F(ModelImportTest, MaterialsGetTheirDefaultsAndMeshesTheirCopies)
{
    writeFile(dir.path + "/lit.mtl", R"(newmtl dark
Ka 1 1 1
Kd 0 0 0
Ks 0.5 0.25 0.125
newmtl shiny
Ka 0.5 0.5 0.5
Kd 0.2 0.4 0.8
Ks 1 1 1
Ns 32
)");
    writeFile(dir.path + "/lit.obj", R"(mtllib lit.mtl
v 0 0 0
v 1 0 0
v 0 1 0
o first
usemtl dark
f 1 2 3
o second
usemtl shiny
f 1 2 3
)");
    const auto model = load("lit.obj");
    ASSERT_EQ(model->meshes.size(), 2u);

    const MeshMaterial* dark = nullptr;
    for (const MeshMaterial& material : model->materials)
        if (material.name == "dark")
            dark = &material;
    ASSERT_NE(dark, nullptr);
    expectVec3(dark->ambient, {0.2f, 0.2f, 0.2f});
    // The model's own list keeps the black diffuse; only the meshes' copies are lightened.
    expectVec3(dark->diffuse, {0, 0, 0});
    expectVec3(dark->specular, {0.5f, 0.25f, 0.125f});
    EXPECT_FLOAT_EQ(dark->shininess, 10.0f);

    const Mesh& first = model->meshes[0];
    EXPECT_EQ(first.material.name, "dark");
    expectVec3(first.material.diffuse, {0.6f, 0.6f, 0.6f});
    expectVec3(first.material.ambient, {0.2f, 0.2f, 0.2f});

    const Mesh& second = model->meshes[1];
    EXPECT_EQ(second.material.name, "shiny");
    expectVec3(second.material.ambient, {0.1f, 0.1f, 0.1f});
    expectVec3(second.material.diffuse, {0.2f, 0.4f, 0.8f});
    EXPECT_FLOAT_EQ(second.material.shininess, 32.0f);
}

TEST_F(ModelImportTest, TextureCacheSharesByExactPathAndNeverCachesTheFallback)
{
    writePng("shared.png", {200, 0, 0});
    writePng("SHARED.png", {0, 200, 0});
    writePng("gloss.png", {0, 0, 200});
    writeFile(dir.path + "/tex.mtl", R"(newmtl a
map_Kd shared.png
newmtl b
map_Kd shared.png
map_Ks gloss.png
newmtl c
map_Kd SHARED.png
newmtl d
map_Ks shared.png
newmtl e
map_Kd default.png
)");
    std::string obj = "mtllib tex.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\n";
    for (const char* name : {"a", "b", "c", "d", "e"})
        obj += std::string("o ") + name + "\nusemtl " + name + "\nf 1 2 3\n";
    writeFile(dir.path + "/tex.obj", obj);

    testing::internal::CaptureStdout();
    const auto model = load("tex.obj");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << "every file loads";
    ASSERT_EQ(model->meshes.size(), 5u);
    const Mesh& a = meshWithMaterial(*model, "a");
    const Mesh& b = meshWithMaterial(*model, "b");
    const Mesh& c = meshWithMaterial(*model, "c");
    const Mesh& d = meshWithMaterial(*model, "d");
    const Mesh& e = meshWithMaterial(*model, "e");

    // Same file name: one texture.
    ASSERT_EQ(a.textures.size(), 2u);
    ASSERT_EQ(b.textures.size(), 2u);
    EXPECT_EQ(a.textures[0].type, "texture_diffuse");
    EXPECT_EQ(a.textures[0].path, "shared.png");
    EXPECT_EQ(b.textures[0].id, a.textures[0].id);
    EXPECT_EQ(texel(a.textures[0].id), (std::vector<unsigned char>{200, 0, 0}));
    EXPECT_EQ(b.textures[1].type, "texture_specular");
    EXPECT_EQ(texel(b.textures[1].id), (std::vector<unsigned char>{0, 0, 200}));

    // Other letter case: another load.
    ASSERT_EQ(c.textures.size(), 2u);
    EXPECT_NE(c.textures[0].id, a.textures[0].id);
    EXPECT_EQ(texel(c.textures[0].id), (std::vector<unsigned char>{0, 200, 0}));

    // A missing type falls back to default.png of the model's directory, loaded anew each time.
    EXPECT_EQ(a.textures[1].type, "texture_specular");
    EXPECT_EQ(texel(a.textures[1].id), (std::vector<unsigned char>{9, 9, 9}));
    EXPECT_NE(c.textures[1].id, a.textures[1].id);

    // First met as diffuse, the file stays diffuse when a later material names it specular.
    ASSERT_EQ(d.textures.size(), 2u);
    EXPECT_EQ(d.textures[0].type, "texture_diffuse");
    EXPECT_EQ(texel(d.textures[0].id), (std::vector<unsigned char>{9, 9, 9}));
    EXPECT_EQ(d.textures[1].type, "texture_diffuse");
    EXPECT_EQ(d.textures[1].id, a.textures[0].id);

    // A material that names default.png itself is not served a fallback entry.
    ASSERT_EQ(e.textures.size(), 2u);
    EXPECT_EQ(e.textures[0].path, "default.png");
    for (const Mesh* mesh : {&a, &b, &c, &d})
        for (const MeshTexture& texture : mesh->textures)
            EXPECT_NE(texture.id, e.textures[0].id);

    // Loads: shared, fallback (a); gloss (b); SHARED, fallback (c); fallback (d); default.png, fallback (e).
    EXPECT_EQ(model->loadedTextures.size(), 8u);
}

TEST_F(ModelImportTest, BackslashPathOpens)
{
    writeFile(dir.path + "/one.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    testing::internal::CaptureStdout();
    Model model((dir.path + "\\one.obj").c_str(), glm::vec3(0.0f), glm::vec3(1.0f));
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(model.meshes.size(), 1u);
}

TEST_F(ModelImportTest, BrokenFilesPrintOneErrorLineAndLeaveAnEmptyModel)
{
    writeFile(dir.path + "/broken.gltf", R"({"asset": {"version": "2.0"}, "nodes": [)");
    for (const char* name : {"broken.gltf", "missing.obj"}) {
        SCOPED_TRACE(name);
        testing::internal::CaptureStdout();
        const auto model = load(name);
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(out.rfind("ERROR::ASSIMP::", 0), 0u) << out;
        EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
        EXPECT_TRUE(model->meshes.empty());
        EXPECT_TRUE(model->materials.empty());
        EXPECT_TRUE(model->loadedTextures.empty());
    }
}

TEST_F(ModelImportTest, UpdateTransformsScalesTheTranslationToo)
{
    writeFile(dir.path + "/one.obj", "v 2 0 0\nv 3 1 0\nv 2 1 1\nf 1 2 3\n");
    testing::internal::CaptureStdout();
    const auto model = load("one.obj", {10, 0, 0}, {0.5f, 0.5f, 0.5f});
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(model->meshes.size(), 1u);
    model->updateTransforms();

    expectVec3(glm::vec3(model->modelMatrix * glm::vec4(0, 0, 0, 1)), {5, 0, 0});
    const Mesh& mesh = model->meshes[0];
    expectVec3(glm::vec3(mesh.modelMatrix * glm::vec4(0, 0, 0, 1)), {5, 0, 0});
    // The box moves with the mesh: (2, 0, 0) becomes 0.5 * (12, 0, 0).
    expectVec3(mesh.bounds->worldCorners[0], {6, 0, 0});
    expectVec3(mesh.bounds->extents, {0.5f, 0.5f, 0.5f});
}
