// One line for an X protocol error, the console pause, then exit status -1; one
// line for a lost connection, then exit status 1.
#include "platform/x_error_report.h"

#include "platform/console.h"
#include "platform/report_line.h"

#include <X11/Xlib.h>
#include <unistd.h>

#include <cstdlib>

namespace {

// Xlib calls this outside any request of ours; nothing here may talk to the
// server, but looking up the error's text is local.
int reportAndExit(Display* display, XErrorEvent* error)
{
    char text[256] = {};
    XGetErrorText(display, error->error_code, text, sizeof text);
    reportLine("X error %s (request %d.%d)", text, error->request_code, error->minor_code);
    pauseConsole();
    std::exit(-1);
}

// Every connection of the process, the text overlay's own included, finds the
// server gone, some only while the exit handlers run: the first report exits
// and runs them (a film in the making removes its pieces there), a later one
// must not run them again. No pause: the Ctrl-C that ends xvfb-run's server
// also reaches the console, and the replay tool catches it while it films.
int reportLostConnection(Display* display)
{
    static bool exiting = false;
    if (exiting)
        _exit(1);
    exiting = true;
    reportLine("X connection to %s lost", DisplayString(display));
    std::exit(1);
}

} // namespace

void reportXErrorsAsFatal()
{
    XSetErrorHandler(reportAndExit);
    XSetIOErrorHandler(reportLostConnection);
}
