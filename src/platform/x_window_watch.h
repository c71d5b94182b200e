// Following an X window's life from the events the server sends about it: its
// map state, whether it is fully covered, its size and its end. None of these
// is input, so watching a window never takes anything from the program that
// owns it.
#pragma once

#include <X11/Xlib.h>

class XWindowWatch {
public:
    // Selects the window's structure and visibility events on `display` and
    // reads its present state; a window that no longer exists reads as destroyed.
    XWindowWatch(Display* display, Window window);

    // Takes every event about the window that has arrived; never waits.
    void poll();

    // Unmapped (an iconified window is unmapped too) or fully covered, where the
    // server reports it.
    bool hidden() const { return !mapped || obscured; }

    Display* display = nullptr; // not owned
    Window window = 0;
    bool mapped = false;
    bool obscured = false;
    bool destroyed = false;
    int width = 0;
    int height = 0;
};
