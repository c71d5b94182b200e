// Asking the desktop not to blank the screen while something is watched on it:
// the freedesktop screensaver-inhibit call on the session bus, and the X
// server's own screen saver suspended for bare X sessions. Where neither
// answers, the screen is left to its settings and nothing else changes.
#pragma once

#include "platform/non_copyable.h"

#include <X11/Xlib.h>

#include <cstdint>

struct sd_bus;

class ScreenAwake : NonCopyable {
public:
    ScreenAwake() = default;
    // Lets the screen blank again.
    ~ScreenAwake();

    // Asks for the screen to stay awake, or lets it go; asking twice for the
    // same changes nothing.
    void hold(bool awake);

    bool held = false;
    sd_bus* bus = nullptr;      // the session bus, once reached
    std::uint32_t cookie = 0;   // the desktop's receipt for the inhibit, 0 for none
    Display* display = nullptr; // a connection of its own, for the X suspend

private:
    void holdOnBus(bool awake);
    void holdOnX(bool awake);
};
