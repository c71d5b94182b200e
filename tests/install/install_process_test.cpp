// The install staged under a temporary DESTDIR with prefix /usr, both launchers
// started through links from a working directory that has nothing of
// Frostember's in it: they must find the programs and the data from where they
// really lie, and the replay tool's files must land where it was started.
#include "support/process.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// Installs the build into `stage` as a package would lay it out below /.
void installInto(const std::string& stage)
{
    ProcessOptions options;
    options.workDir = stage;
    options.env = {"DESTDIR=" + stage};
    options.timeoutSeconds = 120.0;
    const ProcessResult installed =
        runProcess(FROSTEMBER_CMAKE, {"--install", FROSTEMBER_BUILD_DIR, "--prefix", "/usr"}, options);
    ASSERT_EQ(installed.status, 0) << installed.out << installed.err;
}

// A link to an installed launcher in `dir`, as a user's own bin directory would hold it.
std::string linkTo(const std::string& launcher, const std::string& dir)
{
    const std::string link = dir + "/" + fs::path(launcher).filename().string();
    fs::create_symlink(launcher, link);
    return link;
}

// Waits for the window, which never comes if the program ends first, for at most a minute.
bool closeWithEscape()
{
    return std::system("timeout 60 xdotool search --sync --onlyvisible --name '^Frostember$' windowfocus --sync"
                       " key Escape >/dev/null 2>&1")
        == 0;
}

} // namespace

TEST(Install, LaunchersStartedFromElsewhereFindTheDataAndWriteToTheCallersDirectory)
{
    if (std::system("command -v xdotool >/dev/null 2>&1") != 0)
        GTEST_FAIL() << "xdotool is needed for this test";
    TempDir stage, links, caller;
    installInto(stage.path);
    ASSERT_FALSE(HasFatalFailure());
    const std::string bin = stage.path + "/usr/bin";
    ProcessOptions options;
    options.workDir = caller.path;
    options.timeoutSeconds = 120.0;

    // The user's own --base-dir wins over the caller's, and a relative one is the caller's too.
    struct Case {
        std::vector<std::string> files;
        std::string statsDir;
    };
    TempDir elsewhere;
    fs::create_directory(caller.path + "/mine");
    const Case cases[] = {
        {{"--capture", "0.1", "--out", "shots", "--stats", "stats.csv"}, caller.path},
        {{"--base-dir", "mine", "--stats", "stats.csv"}, caller.path + "/mine"},
        {{"--stats", "stats.csv", "--base-dir", elsewhere.path}, elsewhere.path},
    };
    const std::string replayLauncher = linkTo(bin + "/frostember-replay", links.path);
    for (const Case& c : cases) {
        std::vector<std::string> args = {"--size", "160x90", "--dt", "0.1", "--frames", "2"};
        args.insert(args.end(), c.files.begin(), c.files.end());
        const ProcessResult replay = runProcess(replayLauncher, args, options);
        EXPECT_EQ(replay.status, 0) << c.statsDir << replay.out << replay.err;
        EXPECT_TRUE(fs::is_regular_file(c.statsDir + "/stats.csv")) << c.statsDir << replay.err;
    }
    EXPECT_TRUE(fs::is_regular_file(caller.path + "/shots/t0000.1.png"));

    options.input = std::string("320\n240\n");
    ChildProcess program(linkTo(bin + "/frostember", links.path), {}, options);
    EXPECT_TRUE(closeWithEscape()) << program.outputSoFar();
    const ProcessResult closed = program.wait(60.0);
    EXPECT_EQ(closed.status, 0) << closed.out << closed.err;
    EXPECT_EQ(closed.out.find("ERROR"), std::string::npos) << closed.out;
    EXPECT_EQ(closed.out.find("did not load"), std::string::npos) << closed.out;
    // Each emitter prints one line as it is made; the first follows the prompts on theirs.
    int emitters = 0;
    for (std::size_t at = closed.out.find("35978\n"); at != std::string::npos; at = closed.out.find("35978\n", at + 1))
        ++emitters;
    EXPECT_EQ(emitters, 8) << closed.out;
}
