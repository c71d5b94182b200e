// Drawing into an X window that another program made (a screensaver daemon's,
// or the root window): a GLX context on the window's own visual, its size and
// visibility followed through its events. Its input is never read, and once
// it is destroyed the surface reads as closed, whichever way the news comes.
#pragma once

#include "platform/non_copyable.h"
#include "platform/surface.h"
#include "platform/x_window_watch.h"

#include <GL/glew.h>
#include <GL/glx.h>

#include <memory>
#include <string>

class ForeignWindowSurface : public Surface, NonCopyable {
public:
    // Opens a connection of its own to the display, makes a compatibility-
    // profile context current on `window` (0: the default screen's root
    // window) and initialises GLEW on it; a debug context with `debugContext`.
    // On failure returns null with `error` set to one line.
    static std::unique_ptr<ForeignWindowSurface> open(unsigned long window, bool debugContext, std::string& error);

    ForeignWindowSurface() = default;
    ~ForeignWindowSurface() override;

    void processEvents(double seconds) override;
    void size(int& width, int& height) const override;
    bool hidden() const override;
    bool closed() const override;
    // The daemon that handed the window over decides when the screen blanks.
    bool wantsScreenAwake() const override { return false; }
    void present() override;
    void setSwapInterval(int interval) override;

    Display* display = nullptr;
    Window window = 0;
    int screen = 0; // the window's
    GLXContext context = nullptr;
    std::unique_ptr<XWindowWatch> watch;
};
