// An X protocol error during the run: one line of ours, the pause, status 255.
#include "platform/x_error_report.h"

#include "platform/report_line.h"

#include <gtest/gtest.h>
#include <unistd.h>
// After GoogleTest: Xlib defines None as a macro.
#include <X11/Xlib.h>

#include <cstdlib>

TEST(XErrorReportDeathTest, AnXErrorIsOneLineAndExitStatus255)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            // The pause goes to standard output; the death test reads standard error.
            dup2(STDERR_FILENO, STDOUT_FILENO);
            Display* display = XOpenDisplay(nullptr);
            if (display == nullptr)
                std::exit(3);
            reportXErrorsAsFatal();
            XFreePixmap(display, 1);  // no such pixmap
            XSync(display, False);
            std::exit(0);
        },
        testing::ExitedWithCode(255),
        std::string(programName()) + ": X error BadPixmap [^\n]*\\(request 54\\.0\\)\n.*Press Enter");
}
