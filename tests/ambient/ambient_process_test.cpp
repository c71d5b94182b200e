// The ambient program as a screensaver daemon runs it, drawing into a window the
// test makes: the room read back from the window with XGetImage, no frames while
// the window is unmapped and frames again once it is mapped, and status 0 when
// the window is destroyed under it or SIGTERM arrives.
#include "support/gl_context.h"
#include "support/process.h"
#include "support/run_dir.h"
#include "support/x_window.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>

namespace {

constexpr int WIDTH = 320;
constexpr int HEIGHT = 240;

// A plain top-level window on the default visual, mapped, as a daemon makes one.
class TestWindow {
public:
    TestWindow()
    {
        display = XOpenDisplay(nullptr);
        if (display == nullptr)
            return;
        window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, WIDTH, HEIGHT, 0, 0, 0);
        XMapWindow(display, window);
        XSync(display, False);
    }
    ~TestWindow()
    {
        if (display == nullptr)
            return;
        destroy();
        XCloseDisplay(display);
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    void destroy()
    {
        if (window != 0)
            XDestroyWindow(display, window);
        window = 0;
        XSync(display, False);
    }

    std::string id() const { return std::to_string(window); }

    Display* display = nullptr;
    Window window = 0;
};

// Frames the program has written a row for, its header aside.
long framesDrawn(const std::string& statsFile)
{
    const long lines = static_cast<long>(splitLines(readFile(statsFile)).size());
    return lines > 0 ? lines - 1 : 0;
}

// The longest time the scene was advanced by in one frame, over the frames
// after the first `skipped`.
double longestDeltaFrom(const std::string& statsFile, long skipped)
{
    const std::vector<std::string> rows = splitLines(readFile(statsFile));
    double longest = 0.0;
    for (std::size_t row = static_cast<std::size_t>(skipped) + 1; row < rows.size(); ++row) {
        const std::size_t second = rows[row].find(',', rows[row].find(',') + 1);
        longest = std::max(longest, std::stod(rows[row].substr(second + 1)));
    }
    return longest;
}

// Waits until no frame has been added for a whole second; returns the count then.
long framesOnceSettled(const std::string& statsFile)
{
    long before = -1;
    long now = framesDrawn(statsFile);
    for (int second = 0; second < 60 && now != before; ++second) {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        before = now;
        now = framesDrawn(statsFile);
    }
    return now;
}

class AmbientProcessTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(window.display, nullptr) << "no X display: is DISPLAY set (xvfb-run)?"; }

    // An earlier run's rows are removed first: they must not pass for this run's.
    // Each run is a debug run: a message of the driver's fails its status.
    std::unique_ptr<ChildProcess> start(std::vector<std::string> args)
    {
        std::filesystem::remove(stats);
        ProcessOptions options;
        options.workDir = runDir();
        args.insert(args.end(), {"--mute", "--gl-debug", "--stats", stats});
        return std::make_unique<ChildProcess>(ambientPath(), args, options);
    }

    TestWindow window;
    TempDir dir;
    std::string stats = dir.path + "/stats.csv";
};

} // namespace

TEST_F(AmbientProcessTest, DrawsTheRoomIntoTheWindowUntilItIsDestroyed)
{
    if (rendererIsZink())
        GTEST_SKIP() << ZINK_SCREEN_UNREADABLE;
    const std::unique_ptr<ChildProcess> ambient = start({"--window-id", window.id()});
    ASSERT_TRUE(waitFor([&] { return framesDrawn(stats) >= 10 || !ambient->running(); }, 120.0));
    ASSERT_TRUE(ambient->running()) << ambient->errorSoFar();

    const Picture picture = readPicture(window.display, window.window);
    EXPECT_GT(picture.litShare, 0.9) << "the room fills the window, not black";
    EXPECT_GT(picture.colours, 500u) << "the room's many colours, not a flat clear";

    window.destroy();
    const ProcessResult result = ambient->wait(60.0);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.status, 0) << result.err;
}

// In the window a daemon hands over and in a window of the program's own, which
// another client unmaps as a bare X server lets it, with no callback to GLFW.
// The time spent unmapped is no frame's: the scene goes on from where it stood.
TEST_F(AmbientProcessTest, DrawsNothingWhileUnmappedAndEndsOnSigterm)
{
    for (const bool foreign : {true, false}) {
        SCOPED_TRACE(foreign ? "the test's window" : "the program's own window");
        const std::unique_ptr<ChildProcess> ambient =
            start(foreign ? std::vector<std::string>{"--window-id", window.id()}
                          : std::vector<std::string>{"--window", "320x240"});
        ASSERT_TRUE(waitFor([&] { return framesDrawn(stats) >= 3 || !ambient->running(); }, 120.0));
        ASSERT_TRUE(ambient->running()) << ambient->errorSoFar();
        const Window drawn = foreign ? window.window : windowOfProcess(ambient->processId());
        ASSERT_NE(drawn, 0u);

        XUnmapWindow(window.display, drawn);
        XSync(window.display, False);
        const auto unmapped = std::chrono::steady_clock::now();
        const long hidden = framesOnceSettled(stats);
        std::this_thread::sleep_for(std::chrono::seconds(3));
        EXPECT_EQ(framesDrawn(stats), hidden) << "frames drawn while unmapped";

        XMapWindow(window.display, drawn);
        XSync(window.display, False);
        const double hiddenMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - unmapped).count();
        EXPECT_TRUE(waitFor([&] { return framesDrawn(stats) > hidden + 3; }, 60.0)) << "no frames once mapped again";
        EXPECT_LT(longestDeltaFrom(stats, hidden), hiddenMs) << "the hidden time came in as a frame's";

        ambient->sendSignal(SIGTERM, false);
        const ProcessResult result = ambient->wait(60.0);
        EXPECT_FALSE(result.timedOut);
        EXPECT_EQ(result.status, 0) << result.err;
    }
}

// A window of its own that another client grows is filled at its new size.
TEST_F(AmbientProcessTest, AResizedWindowIsFilledAtItsNewSize)
{
    if (rendererIsZink())
        GTEST_SKIP() << ZINK_SCREEN_UNREADABLE;
    const std::unique_ptr<ChildProcess> ambient = start({"--window", "320x240"});
    ASSERT_TRUE(waitFor([&] { return framesDrawn(stats) >= 3 || !ambient->running(); }, 120.0));
    ASSERT_TRUE(ambient->running()) << ambient->errorSoFar();
    const Window drawn = windowOfProcess(ambient->processId());
    ASSERT_NE(drawn, 0u);

    ASSERT_TRUE(resizeWindow(drawn, 480, 360));
    Picture picture;
    EXPECT_TRUE(waitFor(
        [&] {
            picture = readPicture(window.display, drawn);
            return picture.width == 480 && picture.litShare > 0.9;
        },
        60.0))
        << picture.width << "x" << picture.height << ", " << picture.litShare << " of it lit";

    ambient->sendSignal(SIGTERM, false);
    const ProcessResult result = ambient->wait(60.0);
    EXPECT_EQ(result.status, 0) << result.err;
}

// Its answers as a process: --help lists every option; a usage error is one line
// naming it and then the usage, status 2; a failure of its own one line, status
// 1; a fatal message of the scene's own (a particle image that will not load)
// ends it with that message's status, without the console's pause.
TEST_F(AmbientProcessTest, AnswersWithItsStatusAndNeverWaits)
{
    TempDir noParticleImage;
    linkFromRunDir(noParticleImage.path, {"Shader", "Assets/scene", "Assets/skybox", "Assets/sound", "Assets/sphere.obj",
                                          "Assets/FXT_Fire_Flames_01_Atlas_dblur.png", "Assets/maxresdefaultblur.jpg"});
    struct Case {
        std::vector<std::string> args;
        std::string workDir;
        int status;
        std::string expected; // on standard output for status 0 and 255, else the first line of standard error
        std::size_t errorLines;
    };
    const Case cases[] = {
        {{"--help"}, runDir(), 0, "--window WxH", 0},
        {{"--volume", "2"}, runDir(), 2, "frostember-ambient: --volume 2: expected a number from 0 to 1", 2},
        {{"--window-id", "0x7ffffff"}, runDir(), 1, "frostember-ambient: no X window 0x7ffffff", 1},
        {{"--window-id", window.id()}, noParticleImage.path, 255, "Error loading Image", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        ProcessOptions options;
        options.workDir = c.workDir;
        options.input = std::string("\n\n\n");
        const ProcessResult result = runProcess(ambientPath(), c.args, options);
        EXPECT_EQ(result.status, c.status) << result.out << result.err;
        const std::vector<std::string> errors = splitLines(result.err);
        EXPECT_EQ(errors.size(), c.errorLines) << result.err;
        const std::string& searched = c.status == 0 || c.status == 255 ? result.out : errors.at(0);
        EXPECT_NE(searched.find(c.expected), std::string::npos) << searched;
        EXPECT_EQ(result.out.find("Press Enter"), std::string::npos) << "the console's pause";
    }
}
