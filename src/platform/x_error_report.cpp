// One line for an X protocol error, the console pause, then exit status -1.
#include "platform/x_error_report.h"

#include "platform/console.h"

#include <X11/Xlib.h>

#include <cstdlib>
#include <iostream>

namespace {

// Xlib calls this outside any request of ours; nothing here may talk to the
// server, but looking up the error's text is local.
int reportAndExit(Display* display, XErrorEvent* error)
{
    char text[256] = {};
    XGetErrorText(display, error->error_code, text, sizeof text);
    std::cout << "ERROR: X Error " << text << " (request " << static_cast<int>(error->request_code) << "."
              << static_cast<int>(error->minor_code) << ")" << std::endl;
    pauseConsole();
    std::exit(-1);
}

} // namespace

void reportXErrorsAsFatal()
{
    XSetErrorHandler(reportAndExit);
}
