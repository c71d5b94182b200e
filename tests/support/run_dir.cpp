// Locations of the run directory and helpers to build partial copies of it.
#include "support/run_dir.h"

#include <filesystem>

namespace fs = std::filesystem;

std::string runDir()
{
    return FROSTEMBER_RUN_DIR;
}

std::string programPath()
{
    return runDir() + "/frostember";
}

std::string replayPath()
{
    return runDir() + "/frostember-replay";
}

std::string ambientPath()
{
    return runDir() + "/frostember-ambient";
}

std::string sourceDir()
{
    return FROSTEMBER_SOURCE_DIR;
}

void copyFromRunDir(const std::string& dir, const std::vector<std::string>& files)
{
    for (const std::string& file : files) {
        const fs::path target = fs::path(dir) / file;
        fs::create_directories(target.parent_path());
        fs::copy_file(fs::path(runDir()) / file, target, fs::copy_options::overwrite_existing);
    }
}

void linkFromRunDir(const std::string& dir, const std::vector<std::string>& entries)
{
    for (const std::string& entry : entries) {
        const fs::path target = fs::path(dir) / entry;
        fs::create_directories(target.parent_path());
        fs::create_directory_symlink(fs::path(runDir()) / entry, target);
    }
}

std::vector<std::string> sceneShaderFiles()
{
    return {"Shader/Basic.vert",         "Shader/basic.frag",         "Shader/shadow.vert",
            "Shader/shadow.frag",        "Shader/skybox.vert",        "Shader/skybox.frag",
            "Shader/omnidirShadow.vert", "Shader/omnidirShadow.geom", "Shader/omnidirShadow.frag"};
}

ProcessResult runReplay(const std::vector<std::string>& args, const std::string& workDir)
{
    ProcessOptions options;
    options.workDir = workDir;
    options.timeoutSeconds = 120.0;
    return runProcess(replayPath(), args, options);
}
