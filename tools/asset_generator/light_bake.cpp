// The light bake. Each cell of the volume gathers the light arriving at its
// centre from a fixed set of directions over the whole sphere:
// - a ray that leaves through a window sees the sky;
// - a ray that meets a surface sees what that surface sends back: its albedo
//   times the sun, the fire and the small warm sources falling on it (each
//   tested with a shadow ray), plus a small fill for the bounces after that.
// Near a corner or under furniture more rays meet dim surfaces and fewer the
// sky, which is the occlusion. The fire's and the small sources' own light at
// the cell's centre is added with shadow rays as well. A cell inside solid
// geometry (most of its rays meet back faces) takes the mean of its valid
// neighbours, so that lookups near a surface never mix in darkness.
#include "light_bake.h"

#include "layout/scene_layout.h"

#include <embree3/rtcore.h>
#include <glm/gtc/packing.hpp>
#include <glm/gtc/quaternion.hpp>
#include <stb/stb_image.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>
#include <thread>

namespace {

// The light a surface sends back after the first bounce, as a share of the sky's:
// it stands for the bounces the bake does not trace.
constexpr float FILL = 0.045f;
// The sky seen through the windows: bright snow below the horizon, a pale sky above.
constexpr glm::vec3 SKY_ZENITH(0.42f, 0.52f, 0.72f), SKY_HORIZON(0.85f, 0.88f, 0.95f), SNOW(0.8f, 0.82f, 0.88f);
constexpr float SKY_BRIGHTNESS = 0.9f;
// The small warm sources: each candle flame and each fairy light bulb, falling off
// linearly with distance as the fire does.
constexpr glm::vec3 CANDLE_COLOUR(1.0f, 0.72f, 0.4f);
constexpr float CANDLE_POWER = 5.0f, BULB_POWER = 0.3f;
// Vertices of one source lie within this distance of its centre.
constexpr float SOURCE_RADIUS = 4.0f;
// Shadow rays a cell sends towards its strongest small sources; the rest count unshadowed.
constexpr int TRACED_SOURCES = 6;
// A cell whose rays meet back faces this often lies inside something solid.
constexpr float INSIDE_SHARE = 0.3f;
constexpr float FAR = 1.0e5f;

struct Source {
    glm::vec3 position;
    float power;
};

float luminance(const glm::vec3& c)
{
    return glm::dot(c, glm::vec3(0.2126f, 0.7152f, 0.0722f));
}

// The mean linear colour of a texture file, white when there is none.
glm::vec3 meanTexel(const std::string& file)
{
    int width = 0, height = 0, channels = 0;
    unsigned char* pixels = stbi_load(file.c_str(), &width, &height, &channels, 3);
    if (pixels == nullptr)
        return glm::vec3(1.0f);
    glm::dvec3 sum(0.0);
    const size_t count = static_cast<size_t>(width) * height;
    for (size_t i = 0; i < count; ++i)
        for (int c = 0; c < 3; ++c) {
            const double v = pixels[i * 3 + c] / 255.0;
            sum[c] += v * v;
        }
    stbi_image_free(pixels);
    return glm::vec3(sum / static_cast<double>(count));
}

bool isSource(const std::string& material)
{
    return material == "flame" || material == "fairy_lights";
}

// Groups a source's vertices into separate lights: each candle flame, each bulb.
void addSources(const MeshGroup& group, float power, std::vector<Source>& sources)
{
    std::vector<glm::vec3> sums;
    std::vector<int> counts;
    for (const glm::vec3& p : group.positions) {
        size_t k = 0;
        while (k < sums.size() && glm::distance(sums[k] / float(counts[k]), p) > SOURCE_RADIUS)
            ++k;
        if (k == sums.size()) {
            sums.push_back(glm::vec3(0.0f));
            counts.push_back(0);
        }
        sums[k] += p;
        ++counts[k];
    }
    for (size_t k = 0; k < sums.size(); ++k)
        sources.push_back({sums[k] / float(counts[k]), power});
}

float fireFalloff(float distance)
{
    const float f = layout::FIRE_LIGHT_CONSTANT + layout::FIRE_LIGHT_LINEAR * distance +
                    layout::FIRE_LIGHT_EXP * distance * distance;
    return std::max(f, 1.0f);
}

// A small, fast, well-mixed hash: every random number of the bake comes from it.
uint32_t mix(uint32_t x)
{
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

float unitRandom(uint32_t& state)
{
    state = mix(state + 0x9e3779b9U);
    return float(state >> 8) / 16777216.0f;
}

class Bake {
public:
    Bake(const std::vector<SceneMesh>& meshes, const std::string& textureDir, const BakeSettings& settings);
    ~Bake();
    Bake(const Bake&) = delete;
    Bake& operator=(const Bake&) = delete;

    LightVolume run();

private:
    struct Cell {
        glm::vec4 ambient{0.0f};
        glm::vec4 local{0.0f};
        bool inside = false;
    };

    void addMeshes(const std::vector<SceneMesh>& meshes, const std::string& textureDir);
    bool occluded(const glm::vec3& from, const glm::vec3& to) const;
    bool hit(const glm::vec3& from, const glm::vec3& direction, float& distance, unsigned& triangle) const;
    glm::vec3 skyRadiance(const glm::vec3& direction) const;
    glm::vec3 localLight(const glm::vec3& p, const glm::vec3& normal, uint32_t& random) const;
    Cell bakeCell(const glm::ivec3& index) const;
    void fillInside(std::vector<Cell>& cells) const;

    BakeSettings settings;
    LightVolume volume;
    RTCDevice device = nullptr;
    RTCScene rtScene = nullptr;
    std::vector<glm::vec3> triangleAlbedo;
    std::vector<glm::vec3> triangleNormal;
    std::vector<Source> sources;
    std::vector<glm::vec3> directions;
    glm::vec3 toSun;
};

Bake::Bake(const std::vector<SceneMesh>& meshes, const std::string& textureDir, const BakeSettings& bakeSettings)
    : settings(bakeSettings), toSun(-glm::normalize(layout::SUN_DIRECTION))
{
    device = rtcNewDevice(nullptr);
    if (device == nullptr)
        throw std::runtime_error("the light bake cannot start Embree");
    rtScene = rtcNewScene(device);
    addMeshes(meshes, textureDir);
    rtcCommitScene(rtScene);

    // Directions spread evenly over the sphere (a Fibonacci spiral); each cell
    // turns the whole set by a rotation of its own, so no pattern repeats.
    const int n = settings.raysPerCell;
    for (int k = 0; k < n; ++k) {
        const float y = 1.0f - (2.0f * k + 1.0f) / float(n);
        const float r = std::sqrt(std::max(0.0f, 1.0f - y * y));
        const float phi = 2.39996323f * float(k);
        directions.emplace_back(r * std::cos(phi), y, r * std::sin(phi));
    }

    volume.boxLow = settings.boxLow;
    volume.boxHigh = settings.boxHigh;
    volume.size = glm::max(glm::ivec3(glm::round((settings.boxHigh - settings.boxLow) / settings.cellSize)), 2);
}

Bake::~Bake()
{
    rtcReleaseScene(rtScene);
    rtcReleaseDevice(device);
}

void Bake::addMeshes(const std::vector<SceneMesh>& meshes, const std::string& textureDir)
{
    std::map<std::string, glm::vec3> textureMeans;
    std::vector<glm::vec3> positions;
    std::vector<uint32_t> indices;
    for (const SceneMesh& mesh : meshes)
        for (const MeshGroup& group : mesh.groups) {
            if (isSource(group.material)) {
                addSources(group, group.material == "flame" ? CANDLE_POWER : BULB_POWER, sources);
                continue;
            }
            const auto material = std::find_if(mesh.materials.begin(), mesh.materials.end(),
                                               [&](const SceneMaterial& m) { return m.name == group.material; });
            glm::vec3 albedo(0.5f);
            if (material != mesh.materials.end()) {
                glm::vec3 texel(1.0f);
                if (!material->diffuseMap.empty()) {
                    auto mean = textureMeans.find(material->diffuseMap);
                    if (mean == textureMeans.end())
                        mean = textureMeans.emplace(material->diffuseMap, meanTexel(textureDir + "/" + material->diffuseMap)).first;
                    texel = mean->second;
                }
                albedo = material->diffuse * material->diffuse * texel;
            }
            const uint32_t base = static_cast<uint32_t>(positions.size());
            positions.insert(positions.end(), group.positions.begin(), group.positions.end());
            for (size_t i = 0; i + 2 < group.indices.size(); i += 3) {
                const uint32_t a = group.indices[i], b = group.indices[i + 1], c = group.indices[i + 2];
                indices.insert(indices.end(), {base + a, base + b, base + c});
                triangleAlbedo.push_back(glm::min(albedo, glm::vec3(0.9f)));
                triangleNormal.push_back(group.normals[a] + group.normals[b] + group.normals[c]);
            }
        }

    RTCGeometry geometry = rtcNewGeometry(device, RTC_GEOMETRY_TYPE_TRIANGLE);
    auto* vertices = static_cast<float*>(rtcSetNewGeometryBuffer(geometry, RTC_BUFFER_TYPE_VERTEX, 0, RTC_FORMAT_FLOAT3,
                                                                 3 * sizeof(float), positions.size()));
    for (size_t i = 0; i < positions.size(); ++i)
        for (int k = 0; k < 3; ++k)
            vertices[i * 3 + k] = positions[i][k];
    auto* triangles = static_cast<uint32_t*>(rtcSetNewGeometryBuffer(geometry, RTC_BUFFER_TYPE_INDEX, 0, RTC_FORMAT_UINT3,
                                                                     3 * sizeof(uint32_t), indices.size() / 3));
    std::copy(indices.begin(), indices.end(), triangles);
    rtcCommitGeometry(geometry);
    rtcAttachGeometry(rtScene, geometry);
    rtcReleaseGeometry(geometry);
}

bool Bake::occluded(const glm::vec3& from, const glm::vec3& to) const
{
    const glm::vec3 d = to - from;
    const float length = glm::length(d);
    RTCIntersectContext context;
    rtcInitIntersectContext(&context);
    RTCRay ray{};
    ray.org_x = from.x, ray.org_y = from.y, ray.org_z = from.z;
    ray.dir_x = d.x / length, ray.dir_y = d.y / length, ray.dir_z = d.z / length;
    ray.tnear = 0.02f;
    ray.tfar = length - 0.02f;
    ray.mask = 0xffffffffU;
    rtcOccluded1(rtScene, &context, &ray);
    return ray.tfar < 0.0f;
}

bool Bake::hit(const glm::vec3& from, const glm::vec3& direction, float& distance, unsigned& triangle) const
{
    RTCIntersectContext context;
    rtcInitIntersectContext(&context);
    RTCRayHit rayHit{};
    RTCRay& ray = rayHit.ray;
    ray.org_x = from.x, ray.org_y = from.y, ray.org_z = from.z;
    ray.dir_x = direction.x, ray.dir_y = direction.y, ray.dir_z = direction.z;
    ray.tnear = 0.0f;
    ray.tfar = FAR;
    ray.mask = 0xffffffffU;
    rayHit.hit.geomID = RTC_INVALID_GEOMETRY_ID;
    rtcIntersect1(rtScene, &context, &rayHit);
    if (rayHit.hit.geomID == RTC_INVALID_GEOMETRY_ID)
        return false;
    distance = ray.tfar;
    triangle = rayHit.hit.primID;
    return true;
}

glm::vec3 Bake::skyRadiance(const glm::vec3& direction) const
{
    if (direction.y < 0.0f)
        return SNOW * SKY_BRIGHTNESS;
    return glm::mix(SKY_HORIZON, SKY_ZENITH, std::sqrt(direction.y)) * SKY_BRIGHTNESS;
}

// The small sources' light on a surface point: one source, picked in proportion
// to what it would give unshadowed, stands for all of them.
glm::vec3 Bake::localLight(const glm::vec3& p, const glm::vec3& normal, uint32_t& random) const
{
    float total = 0.0f;
    std::vector<float> weights(sources.size());
    for (size_t i = 0; i < sources.size(); ++i) {
        const glm::vec3 d = sources[i].position - p;
        const float length = glm::length(d);
        const float cosine = glm::dot(normal, d) / length;
        weights[i] = cosine > 0.0f ? sources[i].power * cosine / fireFalloff(length) : 0.0f;
        total += weights[i];
    }
    if (total <= 0.0f)
        return glm::vec3(0.0f);
    float pick = unitRandom(random) * total;
    size_t chosen = 0;
    while (chosen + 1 < sources.size() && pick > weights[chosen])
        pick -= weights[chosen++];
    return occluded(p, sources[chosen].position) ? glm::vec3(0.0f) : CANDLE_COLOUR * total;
}

Bake::Cell Bake::bakeCell(const glm::ivec3& index) const
{
    const glm::vec3 centre = volume.texelCentre(index);
    uint32_t random = mix(uint32_t(index.x) * 73856093U ^ uint32_t(index.y) * 19349663U ^ uint32_t(index.z) * 83492791U);
    // A random rotation (from three uniform numbers, after Shoemake).
    const float u1 = unitRandom(random), u2 = unitRandom(random) * 6.2831853f, u3 = unitRandom(random) * 6.2831853f;
    const glm::quat turn(std::sqrt(u1) * std::cos(u3), std::sqrt(1.0f - u1) * std::sin(u2),
                         std::sqrt(1.0f - u1) * std::cos(u2), std::sqrt(u1) * std::sin(u3));
    const glm::vec3 fireLight = layout::FIRE_LIGHT;

    Cell cell;
    int backFaces = 0;
    glm::vec3 sky(0.0f), local(0.0f);
    float fireBounce = 0.0f;
    for (const glm::vec3& base : directions) {
        const glm::vec3 direction = turn * base;
        float distance = 0.0f;
        unsigned triangle = 0;
        if (!hit(centre, direction, distance, triangle)) {
            sky += skyRadiance(direction);
            continue;
        }
        const glm::vec3 facing = triangleNormal[triangle];
        if (glm::dot(facing, direction) > 0.0f) {
            ++backFaces;
            continue;
        }
        const glm::vec3 normal = glm::normalize(facing);
        const glm::vec3 p = centre + direction * distance + normal * 0.05f;
        const glm::vec3 albedo = triangleAlbedo[triangle];
        glm::vec3 light(FILL * SKY_BRIGHTNESS);
        const float sunCosine = glm::dot(normal, toSun);
        if (sunCosine > 0.0f && !occluded(p, p + toSun * FAR))
            light += layout::SUN_COLOUR * layout::SUN_DIFFUSE * sunCosine;
        sky += albedo * light;
        const glm::vec3 toFire = fireLight - p;
        const float fireDistance = glm::length(toFire);
        const float fireCosine = glm::dot(normal, toFire) / fireDistance;
        if (fireCosine > 0.0f && !occluded(p, fireLight))
            fireBounce += luminance(albedo) * layout::FIRE_LIGHT_DIFFUSE * fireCosine / fireFalloff(fireDistance);
        local += albedo * localLight(p, normal, random);
    }
    const float n = float(directions.size());
    cell.inside = float(backFaces) > INSIDE_SHARE * n;
    cell.ambient = glm::vec4(sky / n, fireBounce / n);

    // The small sources' own light at the centre, from every direction at once:
    // half of it, the share a surface facing a random way would take.
    glm::vec3 direct(0.0f);
    std::vector<std::pair<float, size_t>> strongest;
    for (size_t i = 0; i < sources.size(); ++i)
        strongest.emplace_back(sources[i].power / fireFalloff(glm::distance(centre, sources[i].position)), i);
    std::sort(strongest.begin(), strongest.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (size_t k = 0; k < strongest.size(); ++k) {
        if (k >= TRACED_SOURCES || !occluded(centre, sources[strongest[k].second].position))
            direct += CANDLE_COLOUR * strongest[k].first * 0.5f;
    }
    const float fireDirect = occluded(centre, fireLight)
                                 ? 0.0f
                                 : layout::FIRE_LIGHT_DIFFUSE / fireFalloff(glm::distance(centre, fireLight));
    cell.local = glm::vec4(local / n + direct, fireDirect);
    return cell;
}

// Cells inside solid geometry take the mean of their valid neighbours, ring by ring.
void Bake::fillInside(std::vector<Cell>& cells) const
{
    const glm::ivec3 size = volume.size;
    auto at = [&](int x, int y, int z) { return (static_cast<size_t>(z) * size.y + y) * size.x + x; };
    for (bool changed = true; changed;) {
        changed = false;
        std::vector<Cell> next = cells;
        for (int z = 0; z < size.z; ++z)
            for (int y = 0; y < size.y; ++y)
                for (int x = 0; x < size.x; ++x) {
                    if (!cells[at(x, y, z)].inside)
                        continue;
                    Cell sum;
                    int count = 0;
                    const glm::ivec3 steps[6] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
                    for (const glm::ivec3& step : steps) {
                        const glm::ivec3 q = glm::ivec3(x, y, z) + step;
                        if (glm::any(glm::lessThan(q, glm::ivec3(0))) || glm::any(glm::greaterThanEqual(q, size)))
                            continue;
                        const Cell& neighbour = cells[at(q.x, q.y, q.z)];
                        if (neighbour.inside)
                            continue;
                        sum.ambient += neighbour.ambient;
                        sum.local += neighbour.local;
                        ++count;
                    }
                    if (count == 0)
                        continue;
                    Cell& filled = next[at(x, y, z)];
                    filled.ambient = sum.ambient / float(count);
                    filled.local = sum.local / float(count);
                    filled.inside = false;
                    changed = true;
                }
        cells.swap(next);
    }
}

LightVolume Bake::run()
{
    const glm::ivec3 size = volume.size;
    std::vector<Cell> cells(volume.texelCount());
    const unsigned threads = std::max(1U, std::min(8U, std::thread::hardware_concurrency()));
    std::vector<std::thread> workers;
    // Each worker takes every threads-th slice; a cell's value depends on its index alone.
    for (unsigned t = 0; t < threads; ++t)
        workers.emplace_back([&, t] {
            for (int z = int(t); z < size.z; z += int(threads))
                for (int y = 0; y < size.y; ++y)
                    for (int x = 0; x < size.x; ++x)
                        cells[(static_cast<size_t>(z) * size.y + y) * size.x + x] = bakeCell({x, y, z});
        });
    for (std::thread& worker : workers)
        worker.join();
    fillInside(cells);

    for (const Cell& cell : cells)
        for (int c = 0; c < 4; ++c) {
            volume.ambient.push_back(glm::packHalf1x16(cell.ambient[c]));
            volume.local.push_back(glm::packHalf1x16(cell.local[c]));
        }
    return volume;
}

} // namespace

BakeSettings roomBakeSettings()
{
    BakeSettings settings;
    settings.boxLow = glm::vec3(layout::LEFT, 0.0f, layout::FRONT);
    settings.boxHigh = glm::vec3(layout::RIGHT, layout::CEILING, layout::BACK);
    return settings;
}

LightVolume bakeLight(const std::vector<SceneMesh>& meshes, const std::string& textureDir, const BakeSettings& settings)
{
    Bake bake(meshes, textureDir, settings);
    return bake.run();
}
