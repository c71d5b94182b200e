// A window of the program's own through GLFW: full screen on the monitor under
// the pointer (else the primary one) with the cursor hidden, or a window of a
// chosen size; F11 switches between the two, and Escape, Q or the close button
// close it. Whether it can be seen is read after every wait from a connection
// of its own to the X server: under a bare X server an unmap by another client
// reaches GLFW without any callback.
#pragma once

#include "platform/non_copyable.h"
#include "platform/surface.h"

#include <memory>
#include <string>

struct GLFWwindow;
class XWindowWatch;
// Xlib's own declaration: its header's macros would clash with the window opener's names.
typedef struct _XDisplay Display;

class GlfwSurface : public Surface, NonCopyable {
public:
    // Full screen when `width` is 0, else a window of `width` x `height`; the
    // size is checked against what the machine can carry first. Its context is
    // a debug context with `debugContext`. On failure returns null with `error`
    // set to one line.
    static std::unique_ptr<GlfwSurface> open(int width, int height, const char* title, bool debugContext,
                                             std::string& error);

    GlfwSurface() = default;
    // Closes the window and terminates GLFW.
    ~GlfwSurface() override;

    void processEvents(double seconds) override;
    void size(int& width, int& height) const override;
    bool hidden() const override;
    bool closed() const override;
    bool wantsScreenAwake() const override;
    void present() override;
    void setSwapInterval(int interval) override;

    void toggleFullScreen();

    GLFWwindow* window = nullptr;
    int windowedX = 0; // where the window goes back to from full screen
    int windowedY = 0;
    int windowedWidth = 0;
    int windowedHeight = 0;
    bool toggleAsked = false; // F11 pressed since the last events
    Display* watchDisplay = nullptr;
    std::unique_ptr<XWindowWatch> watch;
};
