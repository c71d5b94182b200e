// The replay tool's command line: defaults, every accepted form, every malformed one.
#include "replay/replay_options.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::optional<ReplayOptions> parse(std::vector<std::string> args)
{
    return parseReplayOptions(args).options;
}

// Each is refused with one line that names something the user typed.
void expectRejected(const std::vector<std::vector<std::string>>& bad)
{
    for (const std::vector<std::string>& args : bad) {
        std::string line;
        for (const std::string& arg : args)
            line += "[" + arg + "] ";
        const ParsedReplayOptions parsed = parseReplayOptions(args);
        EXPECT_FALSE(parsed.options) << line;
        EXPECT_EQ(parsed.refusal.find('\n'), std::string::npos) << parsed.refusal;
        EXPECT_TRUE(std::any_of(args.begin(), args.end(), [&](const std::string& arg) {
            return !arg.empty() && parsed.refusal.find(arg) != std::string::npos;
        })) << line << parsed.refusal;
    }
}

} // namespace

TEST(ReplayOptions, DefaultsAreOneFrameAt1280x720AndASixtiethOfASecond)
{
    const std::optional<ReplayOptions> options = parse({});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->width, 1280);
    EXPECT_EQ(options->height, 720);
    EXPECT_FLOAT_EQ(static_cast<float>(options->dt), 0.016666668f);
    EXPECT_EQ(options->frames, 1);
    EXPECT_FALSE(options->untilEnd);
    EXPECT_TRUE(options->captureTimes.empty());
    EXPECT_TRUE(options->outDir.empty());
    EXPECT_TRUE(options->statsFile.empty());
}

TEST(ReplayOptions, EveryOptionTakesItsValue)
{
    const std::optional<ReplayOptions> options = parse({"--size", "320x240", "--dt", "0.1", "--frames", "25",
                                                        "--capture", "0,1.5,65", "--out", "shots", "--stats",
                                                        "frames.csv"});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->width, 320);
    EXPECT_EQ(options->height, 240);
    EXPECT_DOUBLE_EQ(options->dt, 0.1);
    EXPECT_EQ(options->frames, 25);
    EXPECT_EQ(options->captureTimes, (std::vector<double>{0.0, 1.5, 65.0}));
    EXPECT_EQ(options->outDir, "shots");
    EXPECT_EQ(options->statsFile, "frames.csv");
}

TEST(ReplayOptions, UntilEndAndOptionsInAnyOrder)
{
    const std::optional<ReplayOptions> options = parse({"--stats", "s.csv", "--hold", "600", "--until-end", "--dt",
                                                        "1e-2", "--capture-every", "5", "--out", "shots", "--size",
                                                        "1920x1080"});
    ASSERT_TRUE(options);
    EXPECT_TRUE(options->untilEnd);
    EXPECT_DOUBLE_EQ(options->holdSeconds, 600.0);
    EXPECT_DOUBLE_EQ(options->captureEvery, 5.0);
    EXPECT_DOUBLE_EQ(options->dt, 0.01);
    EXPECT_EQ(options->width, 1920);
    EXPECT_EQ(options->height, 1080);
    EXPECT_EQ(options->statsFile, "s.csv");
}

TEST(ReplayOptions, MalformedCommandLinesAreRejected)
{
    const std::vector<std::vector<std::string>> bad = {
        {"--bogus"},
        {"frames.csv"},
        {"--size"},
        {"--size", "320"},
        {"--size", "320x"},
        {"--size", "x240"},
        {"--size", "0x240"},
        {"--size", "320x-240"},
        {"--size", "320x240x2"},
        {"--size", "320X240"},
        {"--size", " 320x240"},
        {"--dt"},
        {"--dt", "0"},
        {"--dt", "-0.1"},
        {"--dt", "abc"},
        {"--dt", "0.1s"},
        {"--dt", "inf"},
        {"--dt", "nan"},
        {"--frames"},
        {"--frames", "0"},
        {"--frames", "-3"},
        {"--frames", "2.5"},
        {"--frames", "3", "--until-end"},
        {"--until-end", "--frames", "3"},
        {"--frames", "3", "--frames", "4"},
        {"--until-end", "--until-end"},
        {"--capture", "1", "--out"},
        {"--capture", "1"},
        {"--out", "shots"},
        {"--capture", "", "--out", "shots"},
        {"--capture", "1,", "--out", "shots"},
        {"--capture", ",1", "--out", "shots"},
        {"--capture", "1,,2", "--out", "shots"},
        {"--capture", "-1", "--out", "shots"},
        {"--capture", "one", "--out", "shots"},
        {"--capture", "1,1.0", "--out", "shots"},   // the same file twice
        {"--capture", "2,2.04", "--out", "shots"},  // both named t0002.0.png
        {"--capture", "1", "--out", "--stats", "s.csv"},
        {"--stats"},
        {"--stats", ""},
        {"--stats", "--frames", "3"},
        {"--hold", "5"},
        {"--frames", "3", "--hold", "5"},
        {"--until-end", "--hold", "0"},
        {"--until-end", "--dt", "0.15"}, // the camera never moves: no end
        {"--capture-every", "5"},
        {"--capture-every", "0.05", "--out", "shots"}, // two captures a file name
        {"--capture-every", "5", "--capture", "1", "--out", "shots"},
    };
    expectRejected(bad);
}

TEST(ReplayOptions, ARefusalSaysWhichOptionIsWrongAndHow)
{
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--bogus"}, "unknown option --bogus"},
        {{"--scale", "2"}, "--scale 2: expected a number above 0 and at most 1"},
        {{"--quality", "best"}, "--quality best: expected low or high"},
        {{"--size", "10"}, "--size 10: expected WxH, a positive width and height"},
        {{"--realtime", "5", "--frames", "3"}, "--realtime cannot be used with --frames"},
        {{"--frames", "3", "--frames", "4"}, "--frames given twice"},
        {{"--stats", "--frames", "3"}, "--stats needs a value: a file"},
        {{"--dt"}, "--dt needs a value: a positive number of seconds"},
        {{"--video", "f.mp4", "--fps", "61"}, "--fps 61: expected a whole number from 1 to 60"},
        {{"--capture", "1"}, "--capture needs --out"},
        {{"--video", "f.mp4", "--size", "321x180"}, "--video needs an even width and height, not 321x180"},
        {{"--size", "10", "--help"}, "--size 10: expected WxH, a positive width and height"},
    };
    for (const auto& [args, refusal] : cases)
        EXPECT_EQ(parseReplayOptions(args).refusal, refusal);
}

TEST(ReplayOptions, HelpOrVersionEndTheReadingWhereTheyStand)
{
    const std::optional<ReplayOptions> help = parse({"--frames", "3", "--help", "--bogus"});
    ASSERT_TRUE(help);
    EXPECT_TRUE(help->help);
    EXPECT_FALSE(help->version);
    const std::optional<ReplayOptions> version = parse({"--version"});
    ASSERT_TRUE(version);
    EXPECT_TRUE(version->version);
    EXPECT_FALSE(version->help);
    EXPECT_FALSE(parse({})->help || parse({})->version);
    // The manual page and the shell's completion read the options from the help.
    const std::string text = replayHelp();
    EXPECT_EQ(text.rfind(std::string(REPLAY_USAGE) + "\n", 0), 0u);
    for (const char* option : {"--size WxH", "--dt SECONDS", "--frames N", "--until-end", "--capture T1,T2,...",
                               "--out DIR", "--stats FILE", "--startup FILE", "--floor", "--realtime SECONDS",
                               "--redraw-shadows", "--video FILE", "--fps N", "--scale S", "--quality low|high",
                               "--gl-debug", "--base-dir DIR", "--help", "--version"})
        EXPECT_NE(text.find(std::string("\n  ") + option + " "), std::string::npos) << option;
}

TEST(ReplayOptions, UsageIsOneLineNamingEveryOption)
{
    const std::string usage = REPLAY_USAGE;
    EXPECT_EQ(usage.find('\n'), std::string::npos);
    for (const char* option : {"--size", "--dt", "--frames", "--until-end", "--hold", "--capture", "--capture-every",
                               "--out", "--stats"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;
}

TEST(ReplayOptions, StartupFileAndFloorTakeTheirForms)
{
    const std::optional<ReplayOptions> scene = parse({"--startup", "stages.csv", "--until-end"});
    ASSERT_TRUE(scene);
    EXPECT_EQ(scene->startupFile, "stages.csv");
    EXPECT_FALSE(scene->floor);

    const std::optional<ReplayOptions> floor =
        parse({"--floor", "--frames", "5", "--size", "640x360", "--stats", "s.csv", "--startup", "st.csv"});
    ASSERT_TRUE(floor);
    EXPECT_TRUE(floor->floor);
    EXPECT_EQ(floor->frames, 5);
    EXPECT_EQ(floor->width, 640);
    EXPECT_EQ(floor->startupFile, "st.csv");
    EXPECT_EQ(floor->statsFile, "s.csv");
}

TEST(ReplayOptions, MisusedStartupFileOrFloorIsRejected)
{
    const std::vector<std::vector<std::string>> bad = {
        {"--startup"},
        {"--startup", ""},
        {"--startup", "--floor"},
        {"--startup", "a.csv", "--startup", "b.csv"},
        {"--floor", "--floor"},
        {"--floor", "yes"},
        {"--floor", "--until-end"},
        {"--until-end", "--floor"},
        {"--floor", "--capture", "1", "--out", "shots"},
        {"--floor", "--capture-every", "5", "--out", "shots"},
    };
    expectRejected(bad);
}

TEST(ReplayOptions, UsageNamesTheStartupFileAndTheFloor)
{
    const std::string usage = REPLAY_USAGE;
    EXPECT_NE(usage.find("--startup FILE"), std::string::npos);
    EXPECT_NE(usage.find("--floor"), std::string::npos);
}

TEST(ReplayOptions, RealtimeAndShadowRedrawTakeTheirFormsAndRefuseClockedOptions)
{
    const std::optional<ReplayOptions> realtime =
        parse({"--realtime", "2.5", "--size", "640x360", "--redraw-shadows", "--gl-debug", "--stats", "s.csv"});
    ASSERT_TRUE(realtime);
    EXPECT_DOUBLE_EQ(realtime->realtimeSeconds, 2.5);
    EXPECT_TRUE(realtime->redrawShadows);
    EXPECT_TRUE(realtime->glDebug);
    EXPECT_EQ(realtime->statsFile, "s.csv");
    const std::optional<ReplayOptions> fixed = parse({"--frames", "3"});
    ASSERT_TRUE(fixed);
    EXPECT_EQ(fixed->realtimeSeconds, 0.0);
    EXPECT_FALSE(fixed->redrawShadows);
    EXPECT_FALSE(fixed->glDebug);

    const std::vector<std::vector<std::string>> bad = {
        {"--realtime"},
        {"--realtime", "0"},
        {"--realtime", "-1"},
        {"--realtime", "inf"},
        {"--realtime", "ten"},
        {"--realtime", "1", "--dt", "0.1"},
        {"--realtime", "1", "--frames", "3"},
        {"--until-end", "--realtime", "1"},
        {"--realtime", "1", "--capture", "1", "--out", "shots"},
        {"--realtime", "1", "--capture-every", "5", "--out", "shots"},
        {"--realtime", "1", "--floor"},
        {"--redraw-shadows", "yes"},
        {"--redraw-shadows", "--redraw-shadows"},
        {"--gl-debug", "yes"},
    };
    expectRejected(bad);
    const std::string usage = REPLAY_USAGE;
    EXPECT_NE(usage.find("--realtime SECONDS"), std::string::npos);
    EXPECT_NE(usage.find("--redraw-shadows"), std::string::npos);
}

TEST(ReplayOptions, AFilmSetsItsOwnStepAndEndAndRefusesWhatWouldChangeThem)
{
    const std::optional<ReplayOptions> film = parse({"--video", "flight.mp4", "--size", "640x360"});
    ASSERT_TRUE(film);
    EXPECT_EQ(film->videoFile, "flight.mp4");
    EXPECT_EQ(film->fps, 30);
    EXPECT_DOUBLE_EQ(film->dt, 1.0 / 30.0);
    EXPECT_TRUE(film->untilEnd);
    EXPECT_DOUBLE_EQ(film->holdSeconds, 2.0);

    const std::optional<ReplayOptions> short60 = parse({"--fps", "60", "--video", "f.webm", "--frames", "10"});
    ASSERT_TRUE(short60);
    EXPECT_DOUBLE_EQ(short60->dt, 1.0 / 60.0);
    EXPECT_FALSE(short60->untilEnd);
    EXPECT_EQ(short60->frames, 10);
    EXPECT_EQ(parse({"--until-end"})->holdSeconds, 0.0);

    const std::vector<std::vector<std::string>> bad = {
        {"--video"},
        {"--video", "--frames"},
        {"--fps", "30"},
        {"--video", "f.mp4", "--fps", "0"},
        {"--video", "f.mp4", "--fps", "61"},
        {"--video", "f.mp4", "--fps", "29.97"},
        {"--video", "f.mp4", "--dt", "0.1"},
        {"--video", "f.mp4", "--until-end"},
        {"--video", "f.mp4", "--hold", "3"},
        {"--video", "f.mp4", "--fps", "9"},
        {"--video", "f.mp4", "--realtime", "5"},
        {"--video", "f.mp4", "--floor"},
        {"--video", "f.mp4", "--size", "321x180"},
        {"--video", "f.mp4", "--size", "320x181"},
    };
    expectRejected(bad);
    EXPECT_NE(std::string(REPLAY_USAGE).find("--video FILE [--fps N]"), std::string::npos);
}

// The launcher runs the tool in its data directory and names the caller's with
// --base-dir: every relative file path must land there, absolute ones stay put.
TEST(ReplayOptions, ABaseDirJoinsEveryRelativeFilePathAndLeavesAbsoluteOnes)
{
    struct Case {
        std::vector<std::string> files;
        std::string out, stats, startup, video;
    };
    const Case cases[] = {
        {{"--capture", "1", "--out", "shots", "--stats", "s.csv", "--startup", "st.csv"},
         "/home/me/shots", "/home/me/s.csv", "/home/me/st.csv", ""},
        {{"--video", "films/flight.mp4"}, "", "", "", "/home/me/films/flight.mp4"},
        {{"--capture", "1", "--out", "/tmp/shots", "--stats", "../s.csv"}, "/tmp/shots", "/home/me/../s.csv", "", ""},
        {{"--frames", "3"}, "", "", "", ""},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.files;
        args.insert(args.begin(), {"--base-dir", "/home/me"});
        const std::optional<ReplayOptions> options = parse(args);
        ASSERT_TRUE(options) << c.files[1];
        EXPECT_EQ(options->outDir, c.out);
        EXPECT_EQ(options->statsFile, c.stats);
        EXPECT_EQ(options->startupFile, c.startup);
        EXPECT_EQ(options->videoFile, c.video);
    }
    EXPECT_EQ(parse({"--stats", "s.csv"})->statsFile, "s.csv") << "no base: the working directory's";
    expectRejected({{"--base-dir"}, {"--base-dir", ""}, {"--base-dir", "--frames", "3"},
                    {"--base-dir", "/a", "--base-dir", "/b"}});
    EXPECT_NE(std::string(REPLAY_USAGE).find("--base-dir DIR"), std::string::npos);
}

TEST(ReplayOptions, AForcedScaleIsAShareOfTheWindowOnEitherClock)
{
    EXPECT_EQ(parse({})->scale, 0.0f) << "no scale forced unless asked";
    const std::optional<ReplayOptions> fixed = parse({"--scale", "0.6", "--frames", "3"});
    ASSERT_TRUE(fixed);
    EXPECT_FLOAT_EQ(fixed->scale, 0.6f);
    const std::optional<ReplayOptions> realtime = parse({"--realtime", "5", "--scale", "1"});
    ASSERT_TRUE(realtime);
    EXPECT_FLOAT_EQ(realtime->scale, 1.0f);
    EXPECT_FALSE(parse({})->quality) << "no tier forced unless asked";
    EXPECT_EQ(parse({"--quality", "low"})->quality, QualityTier::Low);
    EXPECT_EQ(parse({"--quality", "high"})->quality, QualityTier::High);

    const std::vector<std::vector<std::string>> bad = {
        {"--scale"},
        {"--scale", "0"},
        {"--scale", "-0.5"},
        {"--scale", "1.01"},
        {"--scale", "nan"},
        {"--scale", "inf"},
        {"--scale", "0.6x"},
        {"--scale", "0.6", "--scale", "0.7"},
        {"--floor", "--scale", "0.6"},
    };
    expectRejected(bad);
    EXPECT_NE(std::string(REPLAY_USAGE).find("--scale S"), std::string::npos);
}
