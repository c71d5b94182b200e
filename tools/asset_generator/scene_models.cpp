// Writes the fourteen scene models, their textures and the white fallback texture
// into Assets/scene, then bakes the room's light from them.
#include "generators.h"
#include "light_bake.h"
#include "scene_builders.h"
#include "scene_textures.h"

#include "platform/report_line.h"
#include "written_file.h"

#include <filesystem>

void writeSceneModels(const std::string& assets)
{
    const std::string dir = assets + "/scene";
    std::filesystem::create_directories(dir);
    writeSceneTextures(dir);
    const struct {
        const char* file;
        SceneMesh (*build)();
    } models[] = {
        {"test-branches", buildTreeBranches}, {"test-room-fireplace", buildRoom},
        {"curtains", buildCurtains},           {"test-pictures", buildPictures},
        {"test-sofa", buildSofa},              {"test-decke", buildBlanket},
        {"test-presents", buildPresents},      {"scene-cats", buildCats},
        {"test-table", buildTables},           {"test-book-glasses", buildBookGlasses},
        {"test-cigar", buildCigar},            {"scene-penis", buildMantelCandles},
        {"test-tree-decor", buildTreeDecor},   {"morepenis", buildSideCandle},
    };
    size_t triangles = 0;
    std::vector<SceneMesh> meshes;
    for (const auto& model : models) {
        meshes.push_back(model.build());
        meshes.back().write(dir, model.file);
        triangles += meshes.back().triangleCount();
    }
    reportLine("scene models: %zu triangles", triangles);

    const std::string bakePath = assets + "/" + std::string(LIGHT_VOLUME_FILE).substr(std::string("Assets/").size());
    requireWritten(writeLightVolume(bakePath, bakeLight(meshes, dir, roomBakeSettings())), bakePath);
}
