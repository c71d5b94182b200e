// Building triangle meshes for the scene's OBJ files: groups of triangles per
// material with positions, normals and UVs, filled by a few primitive shapes,
// each placed by a transform. Shapes are built in world units; the files hold
// model units, twice as large, since the program scales every model by 0.5.
#pragma once

#include <glm/glm.hpp>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// One material of an MTL file. A blank diffuseMap leaves the importer's white fallback.
struct SceneMaterial {
    std::string name;
    glm::vec3 diffuse{0.8f};
    glm::vec3 ambient{1.0f};
    glm::vec3 specular{0.1f};
    float shininess = 16.0f;
    std::string diffuseMap;
    std::string specularMap;
};

// A material whose ambient colour follows its diffuse colour; a colour texture
// with relief brings its relief map as the specular texture. `specular` is the
// reflectance seen head-on, coded as the colours are (the lit shader squares
// it): about 0.2 for a clean dielectric (varnish, glaze, glass), a metal's own
// colour near 1, less for a surface partly dull.
SceneMaterial makeMaterial(const std::string& name, const glm::vec3& diffuse, const std::string& map = "",
                           const glm::vec3& specular = glm::vec3(0.08f), float shininess = 12.0f);

// The triangles of one object: one material, written as "o"/"usemtl" in the OBJ file.
struct MeshGroup {
    std::string name;
    std::string material;
    std::vector<glm::vec3> positions;
    std::vector<glm::vec3> normals;
    std::vector<glm::vec2> uvs;
    std::vector<uint32_t> indices; // counter-clockwise seen from the normal's side

    uint32_t addVertex(const glm::vec3& p, const glm::vec3& n, const glm::vec2& uv);
    void addTriangle(uint32_t a, uint32_t b, uint32_t c);
    void addQuad(uint32_t a, uint32_t b, uint32_t c, uint32_t d); // a b c d counter-clockwise
};

// A whole OBJ file with its materials.
class SceneMesh {
public:
    std::vector<SceneMaterial> materials;
    std::vector<MeshGroup> groups;

    void addMaterial(const SceneMaterial& material);
    // The group of this name, made (with its material) on first use.
    MeshGroup& group(const std::string& name, const std::string& material);
    size_t triangleCount() const;
    // Writes dir/<base>.obj and dir/<base>.mtl.
    void write(const std::string& dir, const std::string& base) const;
};

constexpr float MODEL_UNITS_PER_WORLD_UNIT = 2.0f;

// Primitive shapes. `m` places the shape (world units); normals follow its
// inverse transpose. UV scales map world units to texture repeats.

// A flat rectangle from `origin` spanning `u` and `v`, facing cross(u, v).
void addRect(MeshGroup& g, const glm::vec3& origin, const glm::vec3& u, const glm::vec3& v,
             const glm::vec2& uv0, const glm::vec2& uv1);
// An axis-aligned box [lo, hi]; UVs in world units times `uvScale`.
void addBox(MeshGroup& g, const glm::vec3& lo, const glm::vec3& hi, float uvScale = 0.02f,
            const glm::mat4& m = glm::mat4(1.0f));
// An axis-aligned box [lo, hi] whose edges and corners are cut off by flat
// chamfers `bevel` wide, so that its edges catch the light: 44 triangles.
void addChamferedBox(MeshGroup& g, const glm::vec3& lo, const glm::vec3& hi, float bevel, float uvScale = 0.02f,
                     const glm::mat4& m = glm::mat4(1.0f));
// A box with rounded edges (radius r), `n` subdivisions per face side.
void addRoundedBox(MeshGroup& g, const glm::vec3& halfSize, float r, int n, float uvScale,
                   const glm::mat4& m);
// A surface of revolution about +y: profile points (radius, height) from bottom
// to top, `segments` around. u runs around, v along the profile.
void addLathe(MeshGroup& g, const std::vector<glm::vec2>& profile, int segments, const glm::mat4& m,
              const glm::vec2& uvRepeat = glm::vec2(1.0f));
// A unit sphere scaled by the transform (ellipsoids through a non-uniform scale).
void addSphere(MeshGroup& g, int rings, int segments, const glm::mat4& m, const glm::vec2& uvRepeat = glm::vec2(1.0f));
// A grid surface p(s, t), s and t in 0..1, normals from its derivatives; both
// sides when `twoSided` (the back offset by `thickness` along the normal).
void addSheet(MeshGroup& g, const std::function<glm::vec3(float, float)>& surface, int ns, int nt,
              const glm::vec2& uvRepeat, bool twoSided, float thickness = 0.3f);
// A closed tube of radius r along a polyline, `segments` around.
void addTube(MeshGroup& g, const std::vector<glm::vec3>& path, float r, int segments);

// Transforms.
glm::mat4 translation(const glm::vec3& t);
glm::mat4 placed(const glm::vec3& t, float yawRadians, const glm::vec3& scale = glm::vec3(1.0f));
// Puts the y axis of a shape along `axis` (not normalised: its length scales y),
// starting at `base`; x and z get `radius`.
glm::mat4 alongAxis(const glm::vec3& base, const glm::vec3& axis, float radius);
