// Every shader stage the program compiles, in every variant it compiles, through
// a second GLSL compiler, glslang's reference front end: what one driver's
// compiler lets pass, another's may refuse. The variants are the definitions
// the program compiles the lit stage with, each texture path with each quality
// tier, made by the program's own functions; every stage is given each of them,
// so that a definition added there is checked wherever it is read.
#include "render/quality_tier.h"
#include "render/shader.h"
#include "render/texture_path.h"
#include "support/process.h"
#include "support/run_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

TEST(ShaderGlslang, EveryStageInEveryVariantPassesTheReferenceCompiler)
{
    const std::string validator = "/usr/bin/glslangValidator";
    ASSERT_TRUE(std::filesystem::exists(validator)) << "glslangValidator (glslang-tools) is needed";
    std::set<std::string> variants;
    for (const TexturePath path : {TexturePath::Shader, TexturePath::Sampler})
        for (const QualityTier tier : {QualityTier::Low, QualityTier::High})
            variants.insert(texturePathDefinitions(path) + qualityTierDefinitions(tier));

    // One run over every copy: glslang names each file before its messages.
    TempDir dir;
    std::vector<std::string> copies;
    for (const auto& entry : std::filesystem::directory_iterator(runDir() + "/Shader")) {
        // glslang reads the stage from the extension, which the copies keep.
        const std::string name = entry.path().filename().string();
        const std::string source = readFile(entry.path().string());
        int variant = 0;
        for (const std::string& definitions : variants) {
            copies.push_back(dir.path + "/" + std::to_string(variant++) + "." + name);
            writeFile(copies.back(), insertDefinitions(source, definitions));
        }
    }
    EXPECT_GE(copies.size(), sceneShaderFiles().size() * variants.size());
    ProcessOptions options;
    options.workDir = dir.path;
    const ProcessResult result = runProcess(validator, copies, options);
    std::string legend;
    int variant = 0;
    for (const std::string& definitions : variants)
        legend += "copies " + std::to_string(variant++) + ".*: \"" + definitions + "\"\n";
    EXPECT_EQ(result.status, 0) << legend << result.out << result.err;
}
