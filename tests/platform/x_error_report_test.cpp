// X errors during the run: a protocol error is one line of ours, the pause and
// status 255; a lost connection (the server quit) one line and status 1, however
// many connections find it lost, in an exit handler too.
#include "platform/x_error_report.h"

#include "platform/report_line.h"

#include <gtest/gtest.h>
#include <unistd.h>
// After GoogleTest: Xlib defines None as a macro.
#include <X11/Xlib.h>

#include <cstdlib>

namespace {

void freeAMissingPixmap(Display* display)
{
    XFreePixmap(display, 1);
    XSync(display, False);
}

Display* second = nullptr;

// Both connections lose the server; the second finds it out in an exit handler.
void loseTwoConnections(Display* display)
{
    second = XOpenDisplay(nullptr);
    std::atexit([] { XSync(second, False); });
    close(ConnectionNumber(second));
    close(ConnectionNumber(display));
    XSync(display, False);
}

} // namespace

TEST(XErrorReportDeathTest, EachErrorIsOneLineAndItsStatus)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    struct Case {
        const char* name;
        void (*cause)(Display*);
        int status;
        std::string output;
    };
    const std::string program = programName();
    const Case cases[] = {
        {"protocol error", freeAMissingPixmap, 255,
         program + ": X error BadPixmap [^\n]*\\(request 54\\.0\\)\n.*Press Enter"},
        // Nothing with an X before the line: no second report.
        {"lost connection", loseTwoConnections, 1, "^[^X]*" + program + ": X connection to [^\n]* lost\n$"},
    };
    for (const Case& c : cases) {
        EXPECT_EXIT(
            {
                // The pause goes to standard output; the death test reads standard error.
                dup2(STDERR_FILENO, STDOUT_FILENO);
                Display* display = XOpenDisplay(nullptr);
                if (display == nullptr)
                    std::exit(3);
                reportXErrorsAsFatal();
                c.cause(display);
                std::exit(0);
            },
            testing::ExitedWithCode(c.status), c.output)
            << c.name;
    }
}
