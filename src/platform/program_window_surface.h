// The GLFW window the program and the replay tool open, as a surface to draw
// on: drawn into for as long as it is open, whether or not it can be seen,
// with no keys of its own (the frame's Escape and the overlay read them).
#pragma once

#include "platform/surface.h"

struct GLFWwindow;

class ProgramWindowSurface : public Surface {
public:
    explicit ProgramWindowSurface(GLFWwindow* window_) : window(window_) {}

    void processEvents(double seconds) override;
    void size(int& width, int& height) const override;
    bool hidden() const override { return false; }
    bool closed() const override;
    bool wantsScreenAwake() const override { return false; }
    void present() override;
    void setSwapInterval(int interval) override;

    GLFWwindow* window = nullptr; // not owned
};
