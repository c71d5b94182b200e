// The asset generator as the build runs it: two runs write the same bytes for
// every sky face, particle image and sound, and a run that cannot write ends in
// one line and a failed status.
#include "support/process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const char* const mediaFiles[] = {
    "skybox/iceflats_rt.jpg", "skybox/iceflats_lf.jpg", "skybox/iceflats_dn.jpg",
    "skybox/iceflats_up.jpg", "skybox/iceflats_bk.jpg", "skybox/iceflats_ft.jpg",
    "particle.bmp", "FXT_Fire_Flames_01_Atlas_dblur.png", "maxresdefaultblur.jpg",
    "sound/Talvek - Nocturne op.9 No.2.mp3", "sound/fireplace.mp3",
};

TEST(MediaGenerator, TwoRunsWriteIdenticalFiles)
{
    TempDir first, second;
    ProcessOptions options;
    options.workDir = first.path;
    options.timeoutSeconds = 240.0;
    const ProcessResult a = runProcess(FROSTEMBER_ASSET_GENERATOR, {first.path + "/Assets"}, options);
    ASSERT_EQ(a.status, 0) << a.err;
    options.workDir = second.path;
    const ProcessResult b = runProcess(FROSTEMBER_ASSET_GENERATOR, {second.path + "/Assets"}, options);
    ASSERT_EQ(b.status, 0) << b.err;

    for (const char* file : mediaFiles) {
        const std::string one = readFile(first.path + "/Assets/" + file);
        const std::string two = readFile(second.path + "/Assets/" + file);
        EXPECT_FALSE(one.empty()) << file;
        EXPECT_TRUE(one == two) << file << " differs between runs";
    }
}

TEST(MediaGenerator, AFailureIsOneLineInItsNameAndAFailedStatus)
{
    TempDir dir;
    writeFile(dir.path + "/file", "");
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* says;
    };
    const Case cases[] = {
        {{}, 2, "expects ASSETS_DIR"},
        {{dir.path + "/file/Assets"}, 1, "cannot create directories"},
        {{"--icon", dir.path + "/missing/icon.png"}, 1, "cannot write"},
    };
    for (const Case& c : cases) {
        ProcessOptions options;
        options.workDir = dir.path;
        const ProcessResult result = runProcess(FROSTEMBER_ASSET_GENERATOR, c.args, options);
        EXPECT_EQ(result.status, c.status) << result.err;
        EXPECT_EQ(result.err.rfind("frostember-assets: ", 0), 0u) << result.err;
        EXPECT_NE(result.err.find(c.says), std::string::npos) << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    }
}

} // namespace
