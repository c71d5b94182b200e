// Windows on the X server as a user sees them: found by the process that made
// them, resized from outside as a window manager would, and read back from
// the screen.
#pragma once

// gtest before Xlib, whose macros (None, Bool) break its templates.
#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include <cstddef>
#include <functional>

// Why a case that reads the screen is skipped on zink: under Xvfb it presents
// nothing that XGetImage can read, into a window of the program's own or
// another's.
extern const char* const ZINK_SCREEN_UNREADABLE;

// The visible top-level window a process made, found by the process id GLFW
// gives it (the hidden windows a start-up probes the driver with are passed
// over); 0 when none appears within a minute.
Window windowOfProcess(int pid);

// Resizes the window through the X server, as a window manager does.
bool resizeWindow(Window window, int width, int height);

struct Picture {
    int width = 0; // the window's, when it was read
    int height = 0;
    double litShare = 0.0; // pixels that are not black
    std::size_t colours = 0;
};

// What the whole window shows on the screen now.
Picture readPicture(Display* display, Window window);

// Polls `ready` every tenth of a second; false when it is still false after `seconds`.
bool waitFor(const std::function<bool()>& ready, double seconds);
