// Start-up stages: where the time from process start to the first frame goes.
#pragma once

#include <string>
#include <vector>

struct StartupStage {
    std::string name;
    double seconds = 0.0; // since the process started, dynamic loading included
};

// Records that a stage has just ended.
void markStartupStage(const char* name);

// Every stage marked so far, in the order marked.
const std::vector<StartupStage>& startupStages();

// The stages as CSV, "stage,seconds" and one line per stage, each line ended.
std::string startupStagesCsv(const std::vector<StartupStage>& stages);
