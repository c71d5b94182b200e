// The size prompts' parsing and the pause, with standard input swapped for a file.
#include "platform/console.h"
#include "support/process.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

namespace {

// Runs `body` with standard input reading `text`, then restores it.
template <typename Body> void withInput(const std::string& text, Body body)
{
    TempDir dir;
    const std::string path = dir.path + "/input";
    writeFile(path, text);
    std::fflush(stdout);
    const int saved = dup(0);
    ASSERT_NE(std::freopen(path.c_str(), "r", stdin), nullptr);
    body();
    std::clearerr(stdin);
    dup2(saved, 0);
    close(saved);
}

} // namespace

TEST(Console, AnswersReadTheirLeadingInteger)
{
    withInput("800x\n  -12 apples\nabc\n\n", [] {
        EXPECT_EQ(askNumber("Enter width: "), 800);
        EXPECT_EQ(askNumber("Enter height: "), -12);
        EXPECT_EQ(askNumber(""), 0);
        EXPECT_EQ(askNumber(""), 0);
    });
}

TEST(Console, EndOfInputReadsAsZero)
{
    withInput("640", [] {
        EXPECT_EQ(askNumber(""), 640); // a last line without a line feed still counts
        EXPECT_EQ(askNumber(""), 0);
    });
}

TEST(Console, OverlongAnswerDoesNotSpillIntoTheNextPrompt)
{
    withInput("1" + std::string(300, '2') + "\n480\n", [] {
        askNumber("");
        EXPECT_EQ(askNumber(""), 480);
    });
}

TEST(Console, PauseConsumesOneLine)
{
    withInput("\n77\n", [] {
        pauseConsole();
        EXPECT_EQ(askNumber(""), 77);
    });
}
