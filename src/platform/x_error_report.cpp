// One line for an X protocol error, the console pause, then exit status -1.
#include "platform/x_error_report.h"

#include "platform/console.h"
#include "platform/report_line.h"

#include <X11/Xlib.h>

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

} // namespace

void reportXErrorsAsFatal()
{
    XSetErrorHandler(reportAndExit);
}
