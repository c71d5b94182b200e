// The program as a process: prompts, start-up failures, exit statuses, and
// Escape through the real window system.
#include "layout/scene_layout.h"
#include "platform/window_limits.h"
#include "support/gl_context.h"
#include "support/process.h"
#include "support/run_dir.h"
#include "support/x11_keyboard.h"
#include "support/x_window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <thread>

namespace {

ProcessResult runProgramIn(const std::string& dir, std::optional<std::string> input)
{
    ProcessOptions options;
    options.workDir = dir;
    options.input = std::move(input);
    options.timeoutSeconds = 60.0;
    return runProcess(programPath(), {}, options);
}

// Whether this machine's renderer carries a window of the size the answers give:
// the limits of the same renderer the program gets.
bool fitsThisRenderer(const std::string& answers)
{
    int width = 0;
    int height = 0;
    std::istringstream(answers) >> width >> height;
    testWindow();
    return windowSizeFits(probeWindowLimits(), width, height);
}

} // namespace

TEST(ProgramProcess, NonNumericWidthEndsWithNoWindow)
{
    TempDir dir;
    const ProcessResult result = runProgramIn(dir.path, std::string("abc\n600\n"));
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.status, 255);
    EXPECT_NE(result.out.find("Enter width: Enter height: "), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("No Window.....\n"), std::string::npos) << result.out;
}

// Every size answer either makes a window or ends in "No Window....." and 255,
// never in a crash or an X error: a size beyond what the machine can carry is
// refused before any window of that size exists. Without a Shader directory a
// window that was made ends at the first shader instead, with status 1. Where
// the renderer's largest surface and its memory decide, the row asks them.
TEST(ProgramProcess, WindowSizeAnswersEndInNoWindowOrAWindow)
{
    struct Case {
        const char* input;
        int status;
    };
    constexpr int RENDERER = 0;
    const Case cases[] = {
        {"-800\n600\n", 255},
        {"-1\n-1\n", 255},
        {"0\n600\n", 255},
        {"800\n0\n", 255},
        {"100000\n100000\n", 255},   // beyond the 16 bits X has for a window's size
        {"100000\n600\n", 255},
        {"800\n70000\n", 255},
        {"20000\n100\n", RENDERER},  // beyond llvmpipe's largest viewport, 16384
        {"16385\n16385\n", RENDERER},
        {"40000\n40000\n", RENDERER}, // on llvmpipe its image copy is an X error
        {"65535\n65535\n", RENDERER}, // on llvmpipe its buffers crash the rasteriser
        {"   -5\n240\n", 255},
        {"  +320\n240\n", 1},
        {"320abc\n+240\n", 1},
        {"2500\n1500\n", 1},         // larger than the screen is fine
        {"5000\n3000\n", 1},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const ProcessResult result = runProgramIn(dir.path, std::string(c.input));
        SCOPED_TRACE(testing::PrintToString(std::string(c.input)));
        const int status = c.status != RENDERER ? c.status : fitsThisRenderer(c.input) ? 1 : 255;
        EXPECT_FALSE(result.timedOut);
        EXPECT_EQ(result.status, status) << result.out << result.err;
        const bool noWindow = result.out.find("Enter width: Enter height: No Window.....\n") != std::string::npos;
        EXPECT_EQ(noWindow, status == 255) << result.out;
        if (status == 1) {
            EXPECT_NE(result.out.find("ERROR: Load file Shader\\Basic.vert"), std::string::npos) << result.out;
        }
        EXPECT_EQ(result.err.find("X error"), std::string::npos) << result.err;
    }
}

TEST(ProgramProcess, ClosedStandardInputNeitherBlocksThePromptsNorThePause)
{
    TempDir dir;
    const ProcessResult result = runProgramIn(dir.path, std::nullopt);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.status, 255);
    EXPECT_NE(result.out.find("Enter width: Enter height: No Window.....\n"), std::string::npos) << result.out;
}

TEST(ProgramProcess, MissingShaderFileIsFatalWithItsPathAsWritten)
{
    TempDir dir;
    copyFromRunDir(dir.path, {"Shader/Basic.vert", "Shader/basic.frag"});
    const ProcessResult result = runProgramIn(dir.path, std::string("320\n240\n"));
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.out.find("ERROR: Load file Shader\\shadow.vert,\n"), std::string::npos) << result.out;
    EXPECT_EQ(result.err.find("ERROR"), std::string::npos) << "nothing goes to standard error";
}

TEST(ProgramProcess, EmptyShaderFilePrintsTheDriverLog)
{
    TempDir dir;
    copyFromRunDir(dir.path, sceneShaderFiles());
    writeFile(dir.path + "/Shader/shadow.frag", "");
    const ProcessResult result = runProgramIn(dir.path, std::string("320\n240\n"));
    EXPECT_EQ(result.status, 1);
    const std::string afterPrompts = result.out.substr(result.out.find("Enter height: ") + 14);
    EXPECT_NE(afterPrompts.find("error"), std::string::npos) << result.out;
}

// A context without the instanced draw of transform-feedback results (a 3.3
// context without the extension, as Mesa can be told to make) is refused once
// it is made, before the scene: the program with its line on standard output,
// the pause and -1; the tools with one line on standard error and 1.
TEST(ProgramProcess, AGlThatCannotDrawTheSceneIsRefusedBeforeTheScene)
{
    struct Case {
        std::string program;
        std::vector<std::string> args;
        int status;
        const char* line; // the refusal's start, on standard output for the program, else standard error
    };
    const Case cases[] = {
        {programPath(), {}, 255, "this OpenGL cannot draw the scene: it lacks glDrawTransformFeedbackInstanced"},
        {replayPath(), {"--size", "160x90"}, 1, "frostember-replay: this OpenGL cannot draw the scene: it lacks "},
        {ambientPath(), {"--window", "160x90", "--mute"}, 1, "frostember-ambient: this OpenGL cannot draw the scene"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program);
        ProcessOptions options;
        options.workDir = runDir();
        options.input = std::string("320\n240\n");
        options.env = {"MESA_GL_VERSION_OVERRIDE=3.3COMPAT",
                       "MESA_EXTENSION_OVERRIDE=-GL_ARB_transform_feedback_instanced"};
        const ProcessResult result = runProcess(c.program, c.args, options);
        EXPECT_EQ(result.status, c.status) << result.out << result.err;
        const bool isProgram = c.program == programPath();
        const std::vector<std::string> lines = splitLines(isProgram ? result.out : result.err);
        const auto refusal = std::find_if(lines.begin(), lines.end(),
                                          [&](const std::string& line) { return line.find(c.line) != std::string::npos; });
        ASSERT_NE(refusal, lines.end()) << result.out << result.err;
        EXPECT_NE(refusal->find("found OpenGL 3.3 without the extension"), std::string::npos) << *refusal;
        EXPECT_EQ(result.out.find("35978"), std::string::npos) << "no emitter was built";
        if (isProgram) {
            EXPECT_EQ(refusal->rfind("Enter width: Enter height: ", 0), 0u) << "right after the prompts";
            EXPECT_NE(result.out.find("Press Enter"), std::string::npos) << "the console's pause";
        }
    }
}

// Escape is sent through XTest with xdotool, as a user's key would arrive.
class EscapeKey : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::system("command -v xdotool >/dev/null 2>&1") != 0)
            GTEST_FAIL() << "xdotool is needed for this test";
        disableKeyRepeat();
    }

    static bool xdotool(const std::string& args)
    {
        return std::system(("xdotool " + args + " >/dev/null 2>&1").c_str()) == 0;
    }
};

TEST_F(EscapeKey, HeldKeepsTheWindowOpenReleasedClosesIt)
{
    ProcessOptions options;
    options.workDir = runDir();
    options.input = std::string("320\n240\n");
    ChildProcess program(programPath(), {}, options);

    // The key is held while frames run, however long a driver takes over the
    // set-up: that is over a moment after the last emitter is built.
    const auto emittersBuilt = [&] {
        const std::string out = program.outputSoFar();
        std::size_t built = 0;
        for (std::size_t at = out.find("35978\n"); at != std::string::npos; at = out.find("35978\n", at + 1))
            ++built;
        return built == std::size(layout::EMITTERS) || !program.running();
    };
    ASSERT_TRUE(waitFor(emittersBuilt, 120.0)) << program.outputSoFar();
    ASSERT_TRUE(xdotool("search --sync --onlyvisible --name '^Frostember$' windowfocus --sync"))
        << program.outputSoFar();
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    ASSERT_TRUE(xdotool("keydown Escape"));
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_TRUE(program.running()) << "a held Escape must not close the window";
    ASSERT_TRUE(xdotool("keyup Escape"));

    const ProcessResult result = program.wait(60.0);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.status, 0) << result.out;
}

// A window grown once the frame loop runs is filled at its new size: the frames
// follow the window's size, not the answers typed at the start.
TEST(ProgramProcess, AResizedWindowIsFilledAtItsNewSize)
{
    if (rendererIsZink())
        GTEST_SKIP() << ZINK_SCREEN_UNREADABLE;
    ProcessOptions options;
    options.workDir = runDir();
    options.input = std::string("320\n240\n");
    ChildProcess program(programPath(), {}, options);
    const Window window = windowOfProcess(program.processId());
    ASSERT_NE(window, 0u) << program.outputSoFar();
    Display* const display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);

    Picture picture;
    ASSERT_TRUE(waitFor([&] { return readPicture(display, window).litShare > 0.9 || !program.running(); }, 120.0));
    ASSERT_TRUE(program.running()) << program.outputSoFar();
    ASSERT_TRUE(resizeWindow(window, 480, 360));
    EXPECT_TRUE(waitFor(
        [&] {
            picture = readPicture(display, window);
            return picture.width == 480 && picture.litShare > 0.9;
        },
        60.0))
        << picture.width << "x" << picture.height << ", " << picture.litShare << " of it lit";
    XCloseDisplay(display);
}
