// Where a program draws its frames: a window with the OpenGL context current,
// made either through GLFW or around a window that another program made.
#pragma once

class Surface {
public:
    virtual ~Surface() = default;

    // Takes the pending window-system events, first waiting up to `seconds`
    // for one to come (0: no wait).
    virtual void processEvents(double seconds) = 0;

    // The drawable size in pixels, as of the last events taken.
    virtual void size(int& width, int& height) const = 0;

    // Nothing of the window can be seen: no frame need be drawn.
    virtual bool hidden() const = 0;

    // Asked to quit, or the window is gone.
    virtual bool closed() const = 0;

    // Shown full screen for someone to watch: the screen must not blank then.
    virtual bool wantsScreenAwake() const = 0;

    // Shows the frame drawn.
    virtual void present() = 0;

    // How many display refreshes a present waits for at least: 1 paces the
    // frames to the display, 0 lets them run as fast as they are made. Where
    // the driver offers no control, its default holds.
    virtual void setSwapInterval(int interval) = 0;
};
