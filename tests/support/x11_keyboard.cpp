// X server keyboard control for key-driven tests.
#include "support/x11_keyboard.h"

#include <X11/Xlib.h>

void disableKeyRepeat()
{
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return;
    XAutoRepeatOff(display);
    XCloseDisplay(display);
}
