// Start-up stages: kept in the order marked, timed from the process start, and
// written as the CSV the benchmark reads.
#include "app/startup_profile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

TEST(StartupProfile, StagesKeepTheirOrderAndTimesOnlyGrow)
{
    const size_t before = startupStages().size();
    markStartupStage("first");
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    markStartupStage("second");
    markStartupStage("third");

    const std::vector<StartupStage>& stages = startupStages();
    ASSERT_EQ(stages.size(), before + 3);
    const StartupStage& first = stages[before];
    const StartupStage& second = stages[before + 1];
    const StartupStage& third = stages[before + 2];
    EXPECT_EQ(first.name, "first");
    EXPECT_EQ(second.name, "second");
    EXPECT_EQ(third.name, "third");
    EXPECT_GT(first.seconds, 0.0);
    EXPECT_GE(second.seconds - first.seconds, 0.019) << "the sleep between them";
    EXPECT_LE(second.seconds, third.seconds);
}

TEST(StartupProfile, CsvHasAHeaderAndOneLinePerStage)
{
    const std::vector<StartupStage> stages = {{"window", 0.25}, {"particle textures", 1.5}};
    EXPECT_EQ(startupStagesCsv(stages), "stage,seconds\nwindow,0.250000\nparticle textures,1.500000\n");
    EXPECT_EQ(startupStagesCsv({}), "stage,seconds\n");
}
