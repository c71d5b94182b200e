// The GLFW window: opened through the shared opener, its keys, full screen and
// back, and its visibility read from the X server.
#include "platform/glfw_surface.h"

#include "platform/window_opener.h"
#include "platform/x_window_watch.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#define GLFW_EXPOSE_NATIVE_X11
#include <GLFW/glfw3native.h>

namespace {

// The monitor whose area holds the pointer, else the primary one; null when
// there is no monitor at all.
GLFWmonitor* monitorUnderPointer()
{
    Display* const display = glfwGetX11Display();
    Window root = 0;
    Window child = 0;
    int x = 0;
    int y = 0;
    int windowX = 0;
    int windowY = 0;
    unsigned int buttons = 0;
    int count = 0;
    GLFWmonitor** const monitors = glfwGetMonitors(&count);
    if (XQueryPointer(display, DefaultRootWindow(display), &root, &child, &x, &y, &windowX, &windowY, &buttons))
        for (int i = 0; i < count; ++i) {
            int left = 0;
            int top = 0;
            glfwGetMonitorPos(monitors[i], &left, &top);
            const GLFWvidmode* const mode = glfwGetVideoMode(monitors[i]);
            if (x >= left && x < left + mode->width && y >= top && y < top + mode->height)
                return monitors[i];
        }
    return glfwGetPrimaryMonitor();
}

void onKey(GLFWwindow* window, int key, int, int action, int)
{
    if (action != GLFW_PRESS)
        return;
    if (key == GLFW_KEY_ESCAPE || key == GLFW_KEY_Q)
        glfwSetWindowShouldClose(window, GLFW_TRUE);
    if (key == GLFW_KEY_F11)
        static_cast<GlfwSurface*>(glfwGetWindowUserPointer(window))->toggleAsked = true;
}

} // namespace

std::unique_ptr<GlfwSurface> GlfwSurface::open(int width, int height, const char* title, bool debugContext,
                                               std::string& error)
{
    if (!glfwInit()) {
        error = windowFailureText(WindowFailure::Glfw);
        return nullptr;
    }
    auto surface = std::make_unique<GlfwSurface>();
    WindowRequest request{.width = width, .height = height, .title = title, .debugContext = debugContext};
    if (width == 0) {
        request.monitor = monitorUnderPointer();
        if (request.monitor == nullptr) {
            error = "no monitor to fill";
            return nullptr;
        }
        const GLFWvidmode* const mode = glfwGetVideoMode(request.monitor);
        request.width = mode->width;
        request.height = mode->height;
        // Outside full screen, a window of half the monitor in its middle.
        surface->windowedWidth = mode->width / 2;
        surface->windowedHeight = mode->height / 2;
        surface->windowedX = mode->width / 4;
        surface->windowedY = mode->height / 4;
    }
    const OpenedWindow opened = openWindow(request);
    surface->window = opened.window;
    if (opened.window == nullptr) {
        error = windowFailureText(opened.failure);
        return nullptr;
    }
    glfwSetWindowUserPointer(surface->window, surface.get());
    glfwSetKeyCallback(surface->window, onKey);
    if (request.monitor != nullptr)
        glfwSetInputMode(surface->window, GLFW_CURSOR, GLFW_CURSOR_HIDDEN);
    surface->watchDisplay = XOpenDisplay(nullptr);
    if (surface->watchDisplay == nullptr) {
        error = "cannot open the X display";
        return nullptr;
    }
    surface->watch = std::make_unique<XWindowWatch>(surface->watchDisplay, glfwGetX11Window(surface->window));
    return surface;
}

GlfwSurface::~GlfwSurface()
{
    watch.reset();
    if (watchDisplay != nullptr)
        XCloseDisplay(watchDisplay);
    if (window != nullptr)
        glfwDestroyWindow(window);
    glfwTerminate();
}

void GlfwSurface::processEvents(double seconds)
{
    if (seconds > 0.0)
        glfwWaitEventsTimeout(seconds);
    else
        glfwPollEvents();
    if (toggleAsked)
        toggleFullScreen();
    toggleAsked = false;
    watch->poll();
}

void GlfwSurface::size(int& width, int& height) const
{
    glfwGetFramebufferSize(window, &width, &height);
}

bool GlfwSurface::hidden() const
{
    return !glfwGetWindowAttrib(window, GLFW_VISIBLE) || glfwGetWindowAttrib(window, GLFW_ICONIFIED) ||
           watch->hidden();
}

bool GlfwSurface::closed() const
{
    return glfwWindowShouldClose(window);
}

bool GlfwSurface::wantsScreenAwake() const
{
    return glfwGetWindowMonitor(window) != nullptr;
}

void GlfwSurface::present()
{
    glfwSwapBuffers(window);
}

void GlfwSurface::setSwapInterval(int interval)
{
    glfwSwapInterval(interval);
}

void GlfwSurface::toggleFullScreen()
{
    if (glfwGetWindowMonitor(window) != nullptr) {
        glfwSetWindowMonitor(window, nullptr, windowedX, windowedY, windowedWidth, windowedHeight, GLFW_DONT_CARE);
        glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_NORMAL);
        return;
    }
    glfwGetWindowPos(window, &windowedX, &windowedY);
    glfwGetWindowSize(window, &windowedWidth, &windowedHeight);
    GLFWmonitor* const monitor = monitorUnderPointer();
    if (monitor == nullptr)
        return;
    const GLFWvidmode* const mode = glfwGetVideoMode(monitor);
    glfwSetWindowMonitor(window, monitor, 0, 0, mode->width, mode->height, mode->refreshRate);
    glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_HIDDEN);
}
