// The ambient program's options: the window choice and its precedence, the
// sound rules, and the refusals, each naming what was wrong.
#include "ambient/ambient_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Accepted {
    std::vector<std::string> args;
    const char* screensaverWindow;
    SurfaceChoice surface;
    unsigned long windowId;
    bool sound;
};

struct Refused {
    std::vector<std::string> args;
    const char* screensaverWindow;
    const char* named; // what the one line must name
};

} // namespace

TEST(AmbientOptions, ChoosesTheWindowAndTheSound)
{
    using enum SurfaceChoice;
    const Accepted cases[] = {
        {{}, nullptr, FullScreen, 0, true},
        {{"--window", "640x360"}, nullptr, Window, 0, true},
        {{"--root"}, nullptr, ForeignWindow, 0, false},
        {{"-root", "--sound"}, nullptr, ForeignWindow, 0, true},
        {{"--window-id", "0x2a00007"}, nullptr, ForeignWindow, 0x2a00007, false},
        {{"-window-id", "4194311"}, nullptr, ForeignWindow, 4194311, false},
        {{}, "0x1c00003", ForeignWindow, 0x1c00003, false},
        {{}, "", FullScreen, 0, true},
        {{"-root"}, "0x1c00003", ForeignWindow, 0x1c00003, false},
        {{"--window-id", "77", "--root"}, "0x1c00003", ForeignWindow, 77, false},
        {{"--window", "640x360"}, "0x1c00003", ForeignWindow, 0x1c00003, false},
        {{"--window", "640x360", "--root"}, nullptr, ForeignWindow, 0, false},
        {{"--mute", "--sound", "--root"}, nullptr, ForeignWindow, 0, false},
        {{"--mute"}, nullptr, FullScreen, 0, false},
    };
    for (const Accepted& c : cases) {
        const std::string label = ::testing::PrintToString(c.args) + " env " + (c.screensaverWindow ? c.screensaverWindow : "unset");
        const AmbientParse parsed = parseAmbientOptions(c.args, c.screensaverWindow);
        ASSERT_TRUE(parsed.options) << label << ": " << parsed.refusal;
        EXPECT_EQ(parsed.options->surface, c.surface) << label;
        EXPECT_EQ(parsed.options->windowId, c.windowId) << label;
        EXPECT_EQ(soundWanted(*parsed.options), c.sound) << label;
    }

    const AmbientParse all = parseAmbientOptions(
        {"--window", "800x600", "--max-fps", "10", "--fps", "--volume", "0.25", "--stats", "s.csv", "--startup", "u.csv",
         "--gl-debug", "--quality", "high"},
        nullptr);
    ASSERT_TRUE(all.options) << all.refusal;
    EXPECT_EQ(all.options->width, 800);
    EXPECT_EQ(all.options->height, 600);
    EXPECT_EQ(all.options->maxFps, 10);
    EXPECT_TRUE(all.options->showFps);
    EXPECT_FLOAT_EQ(all.options->volume, 0.25f);
    EXPECT_EQ(all.options->statsFile, "s.csv");
    EXPECT_EQ(all.options->startupFile, "u.csv");
    EXPECT_TRUE(all.options->glDebug);
    EXPECT_EQ(all.options->quality, QualityTier::High);
    EXPECT_FALSE(parseAmbientOptions({}, nullptr).options->quality) << "no tier forced unless asked";

    // --help and --version end the reading where they stand.
    const AmbientParse help = parseAmbientOptions({"--help", "--bogus"}, nullptr);
    ASSERT_TRUE(help.options);
    EXPECT_TRUE(help.options->help);
    const AmbientParse version = parseAmbientOptions({"--root", "--version", "--root"}, nullptr);
    ASSERT_TRUE(version.options);
    EXPECT_TRUE(version.options->version);
}

TEST(AmbientOptions, RefusesWithOneLineNamingTheProblem)
{
    const Refused cases[] = {
        {{"--fullscreen"}, nullptr, "unknown option --fullscreen"},
        {{"--window"}, nullptr, "--window needs a value: WxH"},
        {{"--window", "640"}, nullptr, "--window 640: expected WxH"},
        {{"--window", "0x360"}, nullptr, "--window 0x360: expected"},
        {{"--window-id", "0"}, nullptr, "--window-id 0: expected an X window id"},
        {{"--window-id", "0xzz"}, nullptr, "--window-id 0xzz: expected"},
        {{"--max-fps", "9"}, nullptr, "--max-fps 9: expected a whole number from 10"},
        {{"--max-fps", "30.5"}, nullptr, "--max-fps 30.5: expected"},
        {{"--volume", "1.5"}, nullptr, "--volume 1.5: expected a number from 0 to 1"},
        {{"--volume", "nan"}, nullptr, "--volume nan: expected"},
        {{"--quality", "medium"}, nullptr, "--quality medium: expected low or high"},
        {{"--stats", "--fps"}, nullptr, "--stats needs a value: a file"},
        {{"--root", "-root"}, nullptr, "--root given twice"},
        {{}, "window", "XSCREENSAVER_WINDOW window: expected an X window id"},
    };
    for (const Refused& c : cases) {
        const AmbientParse parsed = parseAmbientOptions(c.args, c.screensaverWindow);
        const std::string label = ::testing::PrintToString(c.args);
        EXPECT_FALSE(parsed.options) << label;
        EXPECT_NE(parsed.refusal.find(c.named), std::string::npos) << label << ": " << parsed.refusal;
        EXPECT_EQ(parsed.refusal.find('\n'), std::string::npos) << label;
    }
}
