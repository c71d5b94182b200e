// The replay tool as a process in the run directory: exit statuses, the capture
// image and the timings file. Nothing here depends on what the scene shows.
#include "support/process.h"
#include "support/run_dir.h"
#include "support/x_window.h"

#include <gtest/gtest.h>
#include <stb_image.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <regex>

// At full scale and at a forced smaller one: the capture is the window's size
// either way, and every row names the scale its frame was drawn at.
TEST(ReplayProcess, ThreeFramesWithACaptureAndTimings)
{
    struct Case {
        std::vector<std::string> scale;
        const char* column;
    };
    const Case cases[] = {{{}, ",1.000"}, {{"--scale", "0.6"}, ",0.600"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.column);
        TempDir scratch;
        const std::string stats = scratch.path + "/stats.csv";
        const std::string shots = scratch.path + "/shots";
        std::vector<std::string> args = {"--frames", "3", "--size", "320x240", "--stats", stats,
                                         "--capture", "0.0", "--out", shots};
        args.insert(args.end(), c.scale.begin(), c.scale.end());
        const ProcessResult result = runReplay(args);
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(result.status, 0) << result.out << result.err;
        EXPECT_EQ(result.out.find("Enter width"), std::string::npos) << "no size prompts";
        EXPECT_EQ(result.out.find("ERROR"), std::string::npos) << result.out;

        int width = 0;
        int height = 0;
        int channels = 0;
        unsigned char* image = stbi_load((shots + "/t0000.0.png").c_str(), &width, &height, &channels, 3);
        ASSERT_NE(image, nullptr) << "no readable capture";
        stbi_image_free(image);
        EXPECT_EQ(width, 320);
        EXPECT_EQ(height, 240);

        const std::vector<std::string> rows = splitLines(readFile(stats));
        ASSERT_EQ(rows.size(), 4u) << readFile(stats);
        EXPECT_EQ(rows[0].rfind("frame,sim_time,", 0), 0u) << rows[0];
        const char* const simTimes[] = {"0.016667", "0.033333", "0.050000"};
        for (int frame = 1; frame <= 3; ++frame) {
            const std::string& row = rows[frame];
            EXPECT_EQ(std::count(row.begin(), row.end(), ','), 16) << row;
            EXPECT_EQ(row.rfind(std::to_string(frame) + "," + simTimes[frame - 1] + ",", 0), 0u) << row;
            EXPECT_TRUE(row.ends_with(c.column)) << row;
        }
    }
}

TEST(ReplayProcess, ACaptureBeyondTheRunIsAFailureAndTheOthersAreStillTaken)
{
    TempDir scratch;
    const ProcessResult result =
        runReplay({"--frames", "2", "--dt", "0.1", "--size", "160x120", "--capture", "0.2,5", "--out", scratch.path});
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("capture at 5.0 s not reached"), std::string::npos) << result.err;
    EXPECT_TRUE(std::filesystem::exists(scratch.path + "/t0000.2.png"));
    EXPECT_FALSE(std::filesystem::exists(scratch.path + "/t0005.0.png"));
}

// A refusal: the line that says why, then the usage, on standard error. Help and
// version: standard output alone.
TEST(ReplayProcess, RefusalsSayWhyBeforeTheUsageAndExitWith2)
{
    struct Case {
        std::vector<std::string> args;
        const char* firstLine;
    };
    const Case cases[] = {
        {{"--bogus"}, "frostember-replay: unknown option --bogus"},
        {{"--scale", "2"}, "frostember-replay: --scale 2: expected a number above 0 and at most 1"},
        {{"--size", "10"}, "frostember-replay: --size 10: expected WxH, a positive width and height"},
        {{"--realtime", "5", "--frames", "3"}, "frostember-replay: --realtime cannot be used with --frames"},
    };
    TempDir scratch;
    for (const Case& c : cases) {
        const ProcessResult result = runReplay(c.args, scratch.path);
        EXPECT_EQ(result.status, 2) << c.firstLine;
        EXPECT_TRUE(result.out.empty()) << result.out;
        const std::vector<std::string> lines = splitLines(result.err);
        ASSERT_EQ(lines.size(), 2u) << result.err;
        EXPECT_EQ(lines[0], c.firstLine);
        EXPECT_EQ(lines[1].rfind("Usage: frostember-replay", 0), 0u) << result.err;
    }

    const ProcessResult help = runReplay({"--help"}, scratch.path);
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.err.empty()) << help.err;
    EXPECT_EQ(help.out.rfind("Usage: frostember-replay", 0), 0u) << help.out;
    const ProcessResult version = runReplay({"--version"}, scratch.path);
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(std::regex_match(version.out, std::regex("frostember-replay [0-9]+\\.[0-9]+\\.[0-9]+\n")))
        << version.out;
}

TEST(ReplayProcess, AnUnwritableStatsFileFailsBeforeTheWindowOpens)
{
    TempDir scratch;
    const ProcessResult result = runReplay({"--stats", scratch.path + "/missing/dir/stats.csv"}, scratch.path);
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(result.out.empty()) << result.out;
    EXPECT_NE(result.err.find("cannot write"), std::string::npos) << result.err;
}

// A short run of the program's loop on the wall clock ends by itself and reports
// its pace and scale, with a row of timings for every frame; how fast the machine
// is decides the figures, so only their form and range are checked, except for a
// scale that was forced.
TEST(ReplayProcess, ARealtimeRunEndsAfterItsSecondsAndReportsTheFlightPace)
{
    struct Case {
        std::vector<std::string> scale;
        double lowestScale;
        double highestScale;
    };
    const Case cases[] = {{{}, 0.5, 1.0}, {{"--scale", "0.7"}, 0.7, 0.7}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scale.empty() ? "chosen scale" : "forced scale");
        TempDir scratch;
        const std::string stats = scratch.path + "/stats.csv";
        // Long enough for frames after the first, which compiles the driver's
        // pipelines and on zink can take most of two seconds.
        std::vector<std::string> args = {"--realtime", "3", "--size", "160x90", "--stats", stats};
        args.insert(args.end(), c.scale.begin(), c.scale.end());
        const ProcessResult result = runReplay(args);
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.out.find("ERROR"), std::string::npos) << result.out;
        const std::size_t at = result.err.find("frostember-replay: realtime ");
        ASSERT_NE(at, std::string::npos) << result.err;
        long frames = 0;
        double seconds = 0.0;
        double pace = -1.0;
        int stalled = -1;
        double medianScale = 0.0;
        double lowestScale = 0.0;
        ASSERT_EQ(std::sscanf(result.err.c_str() + at,
                              "frostember-replay: realtime %ld frames in %lf s after the first, flight pace %lf %%, "
                              "%d frames over 0.1 s, scale median %lf lowest %lf",
                              &frames, &seconds, &pace, &stalled, &medianScale, &lowestScale),
                  6)
            << result.err;
        EXPECT_GT(frames, 0);
        EXPECT_GT(seconds, 0.0);
        // The loop stops starting frames at 3 s; the last one may end a frame later.
        EXPECT_LT(seconds, 3.5);
        EXPECT_GE(pace, 0.0);
        EXPECT_LE(pace, 100.0);
        EXPECT_LE(stalled, frames);
        EXPECT_GE(lowestScale, c.lowestScale);
        EXPECT_LE(lowestScale, medianScale);
        EXPECT_LE(medianScale, c.highestScale);

        // A row for the first frame and each after it: its route time, no step or
        // GPU times, which would slow the pace, its length, the scene, its scale.
        const std::vector<std::string> rows = splitLines(readFile(stats));
        ASSERT_EQ(rows.size(), static_cast<std::size_t>(frames) + 2) << readFile(stats);
        const std::regex row("[0-9]+,[0-9.]+,,,,,,,,[0-9.]+(,[^,]+){6},[0-9.]+");
        for (std::size_t i = 1; i < rows.size(); ++i) {
            EXPECT_TRUE(std::regex_match(rows[i], row)) << rows[i];
            EXPECT_GE(std::stod(rows[i].substr(rows[i].rfind(',') + 1)), c.lowestScale) << rows[i];
        }
        const double routeTime = std::stod(rows.back().substr(rows.back().find(',') + 1));
        EXPECT_LE(routeTime, seconds + 0.1) << "the route time is the part of the wall time that moved the camera";
    }
}

// A window grown once the frames run: the captures after it are of the new
// size and filled; a film, whose encoder was given the old size, ends with one
// line naming both sizes, status 1 and nothing of it left.
TEST(ReplayProcess, AResizedWindowIsCapturedAtItsNewSizeAndEndsAFilm)
{
    struct Case {
        const char* what;
        std::vector<std::string> args;
        int status;
    };
    const Case cases[] = {
        {"captures", {"--dt", "0.1", "--frames", "120", "--capture-every", "1", "--out", "shots"}, 0},
        {"a film", {"--frames", "120", "--video", "shots/film.mp4"}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir scratch;
        std::filesystem::create_directory(scratch.path + "/shots");
        const std::string stats = scratch.path + "/stats.csv";
        std::vector<std::string> args = {"--size", "320x240", "--stats", stats, "--base-dir", scratch.path};
        args.insert(args.end(), c.args.begin(), c.args.end());
        ProcessOptions options;
        options.workDir = runDir();
        options.timeoutSeconds = 180.0;
        ChildProcess replay(replayPath(), args, options);
        ASSERT_TRUE(waitFor([&] { return splitLines(readFile(stats)).size() > 3 || !replay.running(); }, 120.0));
        const Window window = windowOfProcess(replay.processId());
        ASSERT_NE(window, 0u) << replay.errorSoFar();
        ASSERT_TRUE(resizeWindow(window, 480, 360));
        const ProcessResult result = replay.wait(180.0);
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(result.status, c.status) << result.err;

        std::vector<std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(scratch.path + "/shots"))
            files.push_back(entry.path().filename().string());
        std::sort(files.begin(), files.end());
        if (c.status == 1) {
            EXPECT_TRUE(files.empty()) << files.front();
            const std::vector<std::string> lines = splitLines(result.err);
            ASSERT_FALSE(lines.empty());
            EXPECT_EQ(lines.back(), "frostember-replay: film " + scratch.path +
                                        "/shots/film.mp4 not made: the window's frames are now 480x360, the "
                                        "film's 320x240");
            continue;
        }
        ASSERT_FALSE(files.empty());
        for (const std::string* file : {&files.front(), &files.back()}) {
            int width = 0;
            int height = 0;
            int channels = 0;
            unsigned char* image =
                stbi_load((scratch.path + "/shots/" + *file).c_str(), &width, &height, &channels, 3);
            ASSERT_NE(image, nullptr) << *file;
            const bool first = file == &files.front();
            EXPECT_EQ(width, first ? 320 : 480) << *file;
            EXPECT_EQ(height, first ? 240 : 360) << *file;
            const long pixels = static_cast<long>(width) * height;
            long lit = 0;
            for (long i = 0; i < pixels; ++i)
                lit += image[3 * i] != 0 || image[3 * i + 1] != 0 || image[3 * i + 2] != 0 ? 1 : 0;
            stbi_image_free(image);
            EXPECT_GT(static_cast<double>(lit) / pixels, 0.9) << *file << " is filled";
        }
    }
}
