// X protocol errors during the run: by default Xlib prints several lines and ends
// the process with status 1. The program reports one line instead and ends as a
// failed start-up does. A lost connection to the X server (the server quit, say)
// is one line too, and one exit.
#pragma once

// Installs the reports for every X error from now on. The window system may set
// a handler of its own while it creates windows and contexts, so this comes
// after those.
void reportXErrorsAsFatal();
