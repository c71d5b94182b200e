// Mesh groups, primitive shapes and the OBJ/MTL writer of the scene generator.
#include "scene_mesh.h"

#include "scene_textures.h"
#include "written_file.h"

#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace {

constexpr float PI = 3.14159265358979f;

struct Placement {
    glm::mat4 m;
    glm::mat3 normalMatrix;
    explicit Placement(const glm::mat4& matrix)
        : m(matrix), normalMatrix(glm::transpose(glm::inverse(glm::mat3(matrix)))) {}
    glm::vec3 point(const glm::vec3& p) const { return glm::vec3(m * glm::vec4(p, 1.0f)); }
    glm::vec3 normal(const glm::vec3& n) const { return glm::normalize(normalMatrix * n); }
    // A mirroring transform turns counter-clockwise triangles clockwise.
    bool mirrors() const { return glm::determinant(glm::mat3(m)) < 0.0f; }
};

void addPlacedQuad(MeshGroup& g, const Placement& place, uint32_t a, uint32_t b, uint32_t c, uint32_t d)
{
    if (place.mirrors())
        g.addQuad(a, d, c, b);
    else
        g.addQuad(a, b, c, d);
}

} // namespace

SceneMaterial makeMaterial(const std::string& name, const glm::vec3& diffuse, const std::string& map,
                           const glm::vec3& specular, float shininess)
{
    SceneMaterial mat;
    mat.name = name;
    mat.diffuse = diffuse;
    mat.ambient = diffuse;
    mat.specular = specular;
    mat.shininess = shininess;
    mat.diffuseMap = map;
    mat.specularMap = reliefMapFor(map);
    return mat;
}

uint32_t MeshGroup::addVertex(const glm::vec3& p, const glm::vec3& n, const glm::vec2& uv)
{
    positions.push_back(p);
    normals.push_back(n);
    uvs.push_back(uv);
    return static_cast<uint32_t>(positions.size() - 1);
}

void MeshGroup::addTriangle(uint32_t a, uint32_t b, uint32_t c)
{
    // Triangles that collapse to a line or a point (the poles of lathes and
    // spheres) cover no pixel but still cost every pass a setup, and their
    // texture gradients are unbounded: leave them out.
    const glm::vec3 edgeCross = glm::cross(positions[b] - positions[a], positions[c] - positions[a]);
    if (glm::dot(edgeCross, edgeCross) <= 1e-12f)
        return;
    indices.insert(indices.end(), {a, b, c});
}

void MeshGroup::addQuad(uint32_t a, uint32_t b, uint32_t c, uint32_t d)
{
    addTriangle(a, b, c);
    addTriangle(a, c, d);
}

void SceneMesh::addMaterial(const SceneMaterial& material)
{
    materials.push_back(material);
}

MeshGroup& SceneMesh::group(const std::string& name, const std::string& material)
{
    for (MeshGroup& g : groups)
        if (g.name == name)
            return g;
    const bool known = std::any_of(materials.begin(), materials.end(),
                                   [&](const SceneMaterial& mat) { return mat.name == material; });
    if (!known)
        throw std::logic_error("unknown material " + material);
    groups.push_back(MeshGroup{name, material, {}, {}, {}, {}});
    return groups.back();
}

size_t SceneMesh::triangleCount() const
{
    size_t count = 0;
    for (const MeshGroup& g : groups)
        count += g.indices.size() / 3;
    return count;
}

void SceneMesh::write(const std::string& dir, const std::string& base) const
{
    const std::string mtlPath = dir + "/" + base + ".mtl";
    std::FILE* mtl = openForWriting(mtlPath);
    for (const SceneMaterial& mat : materials) {
        std::fprintf(mtl, "newmtl %s\n", mat.name.c_str());
        std::fprintf(mtl, "Ka %.4f %.4f %.4f\n", mat.ambient.r, mat.ambient.g, mat.ambient.b);
        std::fprintf(mtl, "Kd %.4f %.4f %.4f\n", mat.diffuse.r, mat.diffuse.g, mat.diffuse.b);
        std::fprintf(mtl, "Ks %.4f %.4f %.4f\n", mat.specular.r, mat.specular.g, mat.specular.b);
        std::fprintf(mtl, "Ns %.2f\n", mat.shininess);
        if (!mat.diffuseMap.empty())
            std::fprintf(mtl, "map_Kd %s\n", mat.diffuseMap.c_str());
        if (!mat.specularMap.empty())
            std::fprintf(mtl, "map_Ks %s\n", mat.specularMap.c_str());
        std::fprintf(mtl, "\n");
    }
    closeWritten(mtl, mtlPath);

    const std::string objPath = dir + "/" + base + ".obj";
    std::FILE* obj = openForWriting(objPath);
    std::fprintf(obj, "mtllib %s.mtl\n", base.c_str());
    size_t offset = 1;
    for (const MeshGroup& g : groups) {
        if (g.indices.empty())
            continue;
        std::fprintf(obj, "o %s\n", g.name.c_str());
        for (const glm::vec3& world : g.positions) {
            const glm::vec3 p = world * MODEL_UNITS_PER_WORLD_UNIT;
            std::fprintf(obj, "v %.4f %.4f %.4f\n", p.x, p.y, p.z);
        }
        for (const glm::vec2& t : g.uvs)
            std::fprintf(obj, "vt %.4f %.4f\n", t.x, t.y);
        for (const glm::vec3& n : g.normals)
            std::fprintf(obj, "vn %.4f %.4f %.4f\n", n.x, n.y, n.z);
        std::fprintf(obj, "usemtl %s\n", g.material.c_str());
        for (size_t i = 0; i < g.indices.size(); i += 3) {
            const size_t a = g.indices[i] + offset, b = g.indices[i + 1] + offset, c = g.indices[i + 2] + offset;
            std::fprintf(obj, "f %zu/%zu/%zu %zu/%zu/%zu %zu/%zu/%zu\n", a, a, a, b, b, b, c, c, c);
        }
        offset += g.positions.size();
    }
    closeWritten(obj, objPath);
}

void addRect(MeshGroup& g, const glm::vec3& origin, const glm::vec3& u, const glm::vec3& v,
             const glm::vec2& uv0, const glm::vec2& uv1)
{
    const glm::vec3 n = glm::normalize(glm::cross(u, v));
    const uint32_t a = g.addVertex(origin, n, uv0);
    const uint32_t b = g.addVertex(origin + u, n, {uv1.x, uv0.y});
    const uint32_t c = g.addVertex(origin + u + v, n, uv1);
    const uint32_t d = g.addVertex(origin + v, n, {uv0.x, uv1.y});
    g.addQuad(a, b, c, d);
}

void addBox(MeshGroup& g, const glm::vec3& lo, const glm::vec3& hi, float uvScale, const glm::mat4& m)
{
    const Placement place(m);
    const glm::vec3 size = hi - lo;
    // Each face: corner, two edge vectors (counter-clockwise from outside), UV extents.
    struct Face { glm::vec3 origin, u, v; };
    const Face faces[6] = {
        {{hi.x, lo.y, hi.z}, {0, 0, -size.z}, {0, size.y, 0}},  // +x
        {{lo.x, lo.y, lo.z}, {0, 0, size.z}, {0, size.y, 0}},   // -x
        {{lo.x, hi.y, hi.z}, {size.x, 0, 0}, {0, 0, -size.z}},  // +y
        {{lo.x, lo.y, lo.z}, {size.x, 0, 0}, {0, 0, size.z}},   // -y
        {{lo.x, lo.y, hi.z}, {size.x, 0, 0}, {0, size.y, 0}},   // +z
        {{hi.x, lo.y, lo.z}, {-size.x, 0, 0}, {0, size.y, 0}},  // -z
    };
    for (const Face& f : faces) {
        const glm::vec3 n = place.normal(glm::cross(f.u, f.v));
        const glm::vec2 uvMax(glm::length(f.u) * uvScale, glm::length(f.v) * uvScale);
        const uint32_t a = g.addVertex(place.point(f.origin), n, {0, 0});
        const uint32_t b = g.addVertex(place.point(f.origin + f.u), n, {uvMax.x, 0});
        const uint32_t c = g.addVertex(place.point(f.origin + f.u + f.v), n, uvMax);
        const uint32_t d = g.addVertex(place.point(f.origin + f.v), n, {0, uvMax.y});
        addPlacedQuad(g, place, a, b, c, d);
    }
}

void addChamferedBox(MeshGroup& g, const glm::vec3& lo, const glm::vec3& hi, float bevel, float uvScale,
                     const glm::mat4& m)
{
    const Placement place(m);
    const glm::vec3 centre = (lo + hi) * 0.5f, half = (hi - lo) * 0.5f;
    const float cut = std::min(bevel, 0.45f * std::min({half.x, half.y, half.z}));
    const glm::vec3 inner = half - glm::vec3(cut);
    // A point of the box given by its reach from the centre along each axis:
    // +-1 reaches a face, +-2 only the chamfer's inner edge.
    auto at = [&](const glm::ivec3& reach) {
        glm::vec3 p = centre;
        for (int k = 0; k < 3; ++k)
            p[k] += static_cast<float>(glm::sign(reach[k])) * (std::abs(reach[k]) == 1 ? half[k] : inner[k]);
        return p;
    };
    // A flat convex polygon facing `outward`, its points in order either way
    // round; wound counter-clockwise from outside once placed. `uvAxes` picks the
    // two box coordinates its texture runs along.
    auto polygon = [&](std::initializer_list<glm::ivec3> reaches, const glm::vec3& outward, int uAxis, int vAxis) {
        const glm::vec3 n = place.normal(glm::normalize(outward));
        std::vector<uint32_t> k;
        for (const glm::ivec3& reach : reaches) {
            const glm::vec3 p = at(reach);
            k.push_back(g.addVertex(place.point(p), n, glm::vec2(p[uAxis] - lo[uAxis], p[vAxis] - lo[vAxis]) * uvScale));
        }
        const glm::vec3 a = g.positions[k[0]], b = g.positions[k[1]], c = g.positions[k[2]];
        if (glm::dot(glm::cross(b - a, c - a), n) < 0.0f)
            std::reverse(k.begin(), k.end());
        if (k.size() == 3)
            g.addTriangle(k[0], k[1], k[2]);
        else
            g.addQuad(k[0], k[1], k[2], k[3]);
    };
    auto along = [](int axis, int sign) {
        glm::ivec3 v(0);
        v[axis] = sign;
        return v;
    };
    for (int a = 0; a < 3; ++a) {
        const int u = (a + 1) % 3, v = (a + 2) % 3;
        for (int s : {-1, 1}) {
            // The face, inset by the chamfers around it.
            const glm::ivec3 f = along(a, s);
            polygon({f + along(u, -2) + along(v, -2), f + along(u, 2) + along(v, -2), f + along(u, 2) + along(v, 2),
                     f + along(u, -2) + along(v, 2)},
                    glm::vec3(f), u, v);
            // The chamfer along the edge it shares with the face across u.
            for (int su : {-1, 1}) {
                const glm::ivec3 onThis = f + along(u, 2 * su), onOther = along(a, 2 * s) + along(u, su);
                polygon({onThis + along(v, -2), onThis + along(v, 2), onOther + along(v, 2), onOther + along(v, -2)},
                        glm::vec3(f + along(u, su)), v, a);
            }
        }
    }
    for (int sx : {-1, 1})
        for (int sy : {-1, 1})
            for (int sz : {-1, 1})
                polygon({{sx, 2 * sy, 2 * sz}, {2 * sx, sy, 2 * sz}, {2 * sx, 2 * sy, sz}}, glm::vec3(sx, sy, sz), 0, 1);
}

void addRoundedBox(MeshGroup& g, const glm::vec3& halfSize, float r, int n, float uvScale, const glm::mat4& m)
{
    const Placement place(m);
    const glm::vec3 inner = halfSize - glm::vec3(r);
    // Grid coordinates along one side: rounding zones spaced by equal normal angles.
    auto coordinates = [&](float h) {
        std::vector<float> c;
        for (int i = 0; i <= n; ++i)
            c.push_back(-h + r * (1.0f - std::tan(PI / 4.0f * (1.0f - float(i) / n))));
        for (int i = n; i >= 0; --i)
            c.push_back(h - r * (1.0f - std::tan(PI / 4.0f * (1.0f - float(i) / n))));
        return c;
    };
    for (int axis = 0; axis < 3; ++axis) {
        for (int sign = -1; sign <= 1; sign += 2) {
            const int ua = (axis + 1) % 3, va = (axis + 2) % 3;
            const std::vector<float> cu = coordinates(halfSize[ua]);
            const std::vector<float> cv = coordinates(halfSize[va]);
            const uint32_t first = static_cast<uint32_t>(g.positions.size());
            for (float v : cv) {
                for (float u : cu) {
                    glm::vec3 onCube(0.0f);
                    onCube[axis] = sign * halfSize[axis];
                    onCube[ua] = u;
                    onCube[va] = v;
                    const glm::vec3 core = glm::clamp(onCube, -inner, inner);
                    const glm::vec3 normal = glm::normalize(onCube - core);
                    const glm::vec3 p = core + normal * r;
                    g.addVertex(place.point(p), place.normal(normal), glm::vec2(p[ua], p[va]) * uvScale);
                }
            }
            const uint32_t row = static_cast<uint32_t>(cu.size());
            for (uint32_t j = 0; j + 1 < cv.size(); ++j) {
                for (uint32_t i = 0; i + 1 < row; ++i) {
                    const uint32_t a = first + j * row + i;
                    // u x v points along +axis; flip for the negative face.
                    const bool outward = sign > 0;
                    if (outward != place.mirrors())
                        g.addQuad(a, a + 1, a + 1 + row, a + row);
                    else
                        g.addQuad(a, a + row, a + 1 + row, a + 1);
                }
            }
        }
    }
}

void addLathe(MeshGroup& g, const std::vector<glm::vec2>& profile, int segments, const glm::mat4& m,
              const glm::vec2& uvRepeat)
{
    const Placement place(m);
    const size_t count = profile.size();
    std::vector<glm::vec2> segNormal(count - 1);
    std::vector<float> along(count, 0.0f);
    for (size_t k = 0; k + 1 < count; ++k) {
        const glm::vec2 d = profile[k + 1] - profile[k];
        const float len = glm::length(d);
        segNormal[k] = len > 0.0f ? glm::vec2(d.y, -d.x) / len : glm::vec2(1, 0);
        along[k + 1] = along[k] + len;
    }
    const float total = std::max(along.back(), 1e-6f);
    // Smooth across gentle bends, keep creases where the profile turns sharply.
    auto normalAt = [&](size_t k, size_t vertex) {
        const size_t other = vertex == k ? k - 1 : k + 1;
        const bool hasOther = vertex == k ? k > 0 : k + 2 < count;
        if (hasOther && glm::dot(segNormal[k], segNormal[other]) > 0.6f)
            return glm::normalize(segNormal[k] + segNormal[other]);
        return segNormal[k];
    };
    for (size_t k = 0; k + 1 < count; ++k) {
        const uint32_t first = static_cast<uint32_t>(g.positions.size());
        for (size_t end = 0; end < 2; ++end) {
            const size_t vertex = k + end;
            const glm::vec2 pn = normalAt(k, vertex);
            for (int i = 0; i <= segments; ++i) {
                // The seam's second column takes the first one's angle, so that the
                // two share their positions exactly.
                const float a = 2.0f * PI * float(i % segments) / segments;
                const float c = std::cos(a), s = -std::sin(a);
                const glm::vec3 p(profile[vertex].x * c, profile[vertex].y, profile[vertex].x * s);
                const glm::vec3 n(pn.x * c, pn.y, pn.x * s);
                g.addVertex(place.point(p), place.normal(n),
                            {float(i) / segments * uvRepeat.x, along[vertex] / total * uvRepeat.y});
            }
        }
        const uint32_t row = static_cast<uint32_t>(segments + 1);
        for (uint32_t i = 0; i < static_cast<uint32_t>(segments); ++i)
            addPlacedQuad(g, place, first + i, first + i + 1, first + row + i + 1, first + row + i);
    }
}

void addSphere(MeshGroup& g, int rings, int segments, const glm::mat4& m, const glm::vec2& uvRepeat)
{
    std::vector<glm::vec2> profile;
    for (int i = 0; i <= rings; ++i) {
        const float a = PI * float(i) / rings;
        profile.emplace_back(std::sin(a), -std::cos(a));
    }
    addLathe(g, profile, segments, m, uvRepeat);
}

void addSheet(MeshGroup& g, const std::function<glm::vec3(float, float)>& surface, int ns, int nt,
              const glm::vec2& uvRepeat, bool twoSided, float thickness)
{
    const float e = 1e-3f;
    std::vector<glm::vec3> points, normals;
    for (int j = 0; j <= nt; ++j) {
        for (int i = 0; i <= ns; ++i) {
            const float s = float(i) / ns, t = float(j) / nt;
            // Where the surface pinches to a point (a cone's apex) the normal is
            // taken from just beside it.
            glm::vec3 n(0.0f);
            for (float shift = 0.0f; glm::length(n) < 1e-9f && shift < 0.1f; shift += 0.01f) {
                const float ts = t < 0.5f ? t + shift : t - shift;
                const glm::vec3 ds = surface(std::min(s + e, 1.0f), ts) - surface(std::max(s - e, 0.0f), ts);
                const glm::vec3 dt = surface(s, std::min(ts + e, 1.0f)) - surface(s, std::max(ts - e, 0.0f));
                n = glm::cross(ds, dt);
            }
            points.push_back(surface(s, t));
            normals.push_back(glm::normalize(n));
        }
    }
    const uint32_t row = static_cast<uint32_t>(ns + 1);
    for (int side = 0; side < (twoSided ? 2 : 1); ++side) {
        const uint32_t first = static_cast<uint32_t>(g.positions.size());
        const float flip = side == 0 ? 1.0f : -1.0f;
        for (int j = 0; j <= nt; ++j) {
            for (int i = 0; i <= ns; ++i) {
                const size_t k = static_cast<size_t>(j) * row + i;
                const glm::vec3 offset = side == 0 ? glm::vec3(0.0f) : -normals[k] * thickness;
                g.addVertex(points[k] + offset, normals[k] * flip,
                            {float(i) / ns * uvRepeat.x, float(j) / nt * uvRepeat.y});
            }
        }
        for (uint32_t j = 0; j < static_cast<uint32_t>(nt); ++j) {
            for (uint32_t i = 0; i < static_cast<uint32_t>(ns); ++i) {
                const uint32_t a = first + j * row + i;
                if (side == 0)
                    g.addQuad(a, a + 1, a + 1 + row, a + row);
                else
                    g.addQuad(a, a + row, a + 1 + row, a + 1);
            }
        }
    }
}

void addTube(MeshGroup& g, const std::vector<glm::vec3>& path, float r, int segments)
{
    const uint32_t first = static_cast<uint32_t>(g.positions.size());
    glm::vec3 side(0.0f);
    for (size_t k = 0; k < path.size(); ++k) {
        const glm::vec3 tangent = glm::normalize(path[std::min(k + 1, path.size() - 1)] - path[k > 0 ? k - 1 : 0]);
        // Carry the previous frame along so the rings do not twist.
        if (k == 0) {
            const glm::vec3 helper = std::abs(tangent.y) < 0.9f ? glm::vec3(0, 1, 0) : glm::vec3(1, 0, 0);
            side = glm::normalize(glm::cross(tangent, helper));
        } else {
            side = glm::normalize(side - tangent * glm::dot(side, tangent));
        }
        const glm::vec3 up = glm::cross(side, tangent);
        for (int i = 0; i <= segments; ++i) {
            const float a = 2.0f * PI * float(i % segments) / segments;
            const glm::vec3 n = side * std::cos(a) + up * std::sin(a);
            g.addVertex(path[k] + n * r, n, {float(i) / segments, float(k) / (path.size() - 1)});
        }
    }
    const uint32_t row = static_cast<uint32_t>(segments + 1);
    for (uint32_t k = 0; k + 1 < path.size(); ++k)
        for (uint32_t i = 0; i < static_cast<uint32_t>(segments); ++i) {
            const uint32_t a = first + k * row + i;
            g.addQuad(a, a + row, a + row + 1, a + 1);
        }
}

glm::mat4 translation(const glm::vec3& t)
{
    return glm::translate(glm::mat4(1.0f), t);
}

glm::mat4 placed(const glm::vec3& t, float yawRadians, const glm::vec3& scale)
{
    glm::mat4 m = glm::translate(glm::mat4(1.0f), t);
    m = glm::rotate(m, yawRadians, glm::vec3(0, 1, 0));
    return glm::scale(m, scale);
}

glm::mat4 alongAxis(const glm::vec3& base, const glm::vec3& axis, float radius)
{
    const glm::vec3 y = glm::normalize(axis);
    const glm::vec3 helper = std::abs(y.y) < 0.9f ? glm::vec3(0, 1, 0) : glm::vec3(1, 0, 0);
    const glm::vec3 x = glm::normalize(glm::cross(helper, y));
    const glm::vec3 z = glm::cross(x, y);
    glm::mat4 m(1.0f);
    m[0] = glm::vec4(x * radius, 0.0f);
    m[1] = glm::vec4(axis, 0.0f);
    m[2] = glm::vec4(z * radius, 0.0f);
    m[3] = glm::vec4(base, 1.0f);
    return m;
}
