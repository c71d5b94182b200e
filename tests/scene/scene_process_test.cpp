// The program and the replay tool as processes: the sound starts before the
// shaders load, and a whole flight with its sunset at a fixed step of 0.1 s.
#include "support/process.h"
#include "support/run_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

// Without a Shader directory the first shader stage ends the program. The wave
// writer creates its file when the sound device opens, which happens only when
// the sounds start: a file there proves the sound came before any shader. The
// order of the two sounds is checked on the channels in the set-up tests.
TEST(SceneProcess, TheSoundStartsBeforeAnyShaderLoads)
{
    TempDir dir;
    linkFromRunDir(dir.path, {"Assets"});
    const std::string wave = dir.path + "/sound.wav";
    writeFile(dir.path + "/alsoft.conf", "[wave]\nfile = " + wave + "\n");
    ProcessOptions options;
    options.workDir = dir.path;
    options.input = "320\n240\n";
    options.env = {"ALSOFT_DRIVERS=wave", "ALSOFT_CONF=" + dir.path + "/alsoft.conf"};
    const ProcessResult result = runProcess(programPath(), {}, options);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.status, 1) << result.out;
    EXPECT_NE(result.out.find("ERROR: Load file Shader\\Basic.vert,"), std::string::npos) << result.out;
    EXPECT_TRUE(std::filesystem::exists(wave)) << "no sound device was opened before the shaders";
}
