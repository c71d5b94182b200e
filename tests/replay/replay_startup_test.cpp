// The replay tool's start-up stages and its empty-frame floor, run as a process.
#include "support/process.h"
#include "support/run_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Stage {
    std::string name;
    double seconds;
};

std::vector<Stage> readStages(const std::string& path)
{
    std::vector<std::string> rows = splitLines(readFile(path));
    std::vector<Stage> stages;
    if (rows.empty() || rows[0] != "stage,seconds")
        return stages;
    for (size_t i = 1; i < rows.size(); ++i) {
        const size_t comma = rows[i].rfind(',');
        stages.push_back({rows[i].substr(0, comma), std::stod(rows[i].substr(comma + 1))});
    }
    return stages;
}

std::vector<std::string> namesOf(const std::vector<Stage>& stages)
{
    std::vector<std::string> names;
    for (const Stage& stage : stages)
        names.push_back(stage.name);
    return names;
}

void expectGrowingFromZero(const std::vector<Stage>& stages)
{
    double previous = 0.0;
    for (const Stage& stage : stages) {
        EXPECT_GT(stage.seconds, previous) << stage.name;
        previous = stage.seconds;
    }
}

} // namespace

TEST(ReplayStartup, EveryLoadingStageInSetUpOrderThenTheFirstFrame)
{
    TempDir scratch;
    const std::string startup = scratch.path + "/startup.csv";
    const ProcessResult result = runReplay({"--frames", "2", "--size", "160x90", "--startup", startup});
    ASSERT_FALSE(result.timedOut);
    ASSERT_EQ(result.status, 0) << result.out << result.err;
    EXPECT_NE(result.err.find("frostember-replay: renderer "), std::string::npos) << result.err;

    const std::vector<Stage> stages = readStages(startup);
    EXPECT_EQ(namesOf(stages),
              (std::vector<std::string>{"window", "audio", "shaders", "models", "light bake", "particle textures", "shadow maps",
                                        "particles", "physics", "sky", "first frame"}))
        << readFile(startup);
    expectGrowingFromZero(stages);
}

TEST(ReplayStartup, TheFloorClearsAndSwapsWithoutTheScene)
{
    TempDir scratch;
    const std::string startup = scratch.path + "/startup.csv";
    const std::string stats = scratch.path + "/stats.csv";
    const ProcessResult result =
        runReplay({"--floor", "--frames", "3", "--size", "160x90", "--stats", stats, "--startup", startup});
    ASSERT_FALSE(result.timedOut);
    ASSERT_EQ(result.status, 0) << result.out << result.err;
    EXPECT_EQ(result.out.find("35978"), std::string::npos) << "no model loaded: " << result.out;
    EXPECT_EQ(result.out.find("ERROR"), std::string::npos) << result.out;
    EXPECT_NE(result.err.find("frostember-replay: renderer "), std::string::npos) << result.err;

    const std::vector<Stage> stages = readStages(startup);
    EXPECT_EQ(namesOf(stages), (std::vector<std::string>{"window", "first frame"})) << readFile(startup);
    expectGrowingFromZero(stages);

    // Every frame is timed; no pass ran, so every GPU field is empty.
    const std::vector<std::string> rows = splitLines(readFile(stats));
    ASSERT_EQ(rows.size(), 4u) << readFile(stats);
    for (size_t frame = 1; frame < rows.size(); ++frame)
        EXPECT_NE(rows[frame].find(",0.0000,0.0000,,,,,,"), std::string::npos) << rows[frame];
}

TEST(ReplayStartup, AnUnwritableStartupFileFailsBeforeTheWindowOpens)
{
    TempDir scratch;
    const ProcessResult result = runReplay({"--floor", "--startup", scratch.path + "/missing/dir/startup.csv"});
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(result.out.empty()) << result.out;
    EXPECT_NE(result.err.find("cannot write"), std::string::npos) << result.err;
    EXPECT_EQ(result.err.find("renderer"), std::string::npos) << result.err;
}
