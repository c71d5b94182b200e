// Where the built program and its run-time data are, and scratch working
// directories made from them for process tests.
#pragma once

#include "support/process.h"

#include <string>
#include <vector>

std::string runDir();          // build/run: executables, Shader/, Assets/
std::string programPath();     // build/run/frostember
std::string replayPath();      // build/run/frostember-replay
std::string ambientPath();     // build/run/frostember-ambient
std::string sourceDir();       // the repository root

// Fills `dir` with copies of the named files of the run directory (paths relative
// to it, such as "Shader/Basic.vert") and links to the named subdirectories.
void copyFromRunDir(const std::string& dir, const std::vector<std::string>& files);
void linkFromRunDir(const std::string& dir, const std::vector<std::string>& entries);

// The nine scene shader files.
std::vector<std::string> sceneShaderFiles();

// Runs the replay tool with `args` in `workDir` (the run directory by default).
ProcessResult runReplay(const std::vector<std::string>& args, const std::string& workDir = runDir());
