// Opening a window with its context and GLEW, each failure returned as its step.
#include "platform/window_opener.h"

#include "platform/window_limits.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

namespace {

// Full screen keeps the monitor's own video mode: given its colour depths and
// refresh rate as well as its size, GLFW has no other mode to switch to.
void hintMonitorMode(GLFWmonitor* monitor)
{
    const GLFWvidmode* const mode = glfwGetVideoMode(monitor);
    glfwWindowHint(GLFW_RED_BITS, mode->redBits);
    glfwWindowHint(GLFW_GREEN_BITS, mode->greenBits);
    glfwWindowHint(GLFW_BLUE_BITS, mode->blueBits);
    glfwWindowHint(GLFW_REFRESH_RATE, mode->refreshRate);
}

GLFWwindow* createWithHints(const WindowRequest& request)
{
    glfwWindowHint(GLFW_VISIBLE, request.visible ? GLFW_TRUE : GLFW_FALSE);
    glfwWindowHint(GLFW_SAMPLES, request.samples);
    glfwWindowHint(GLFW_OPENGL_DEBUG_CONTEXT, request.debugContext ? GLFW_TRUE : GLFW_FALSE);
    if (request.monitor != nullptr)
        hintMonitorMode(request.monitor);
    GLFWwindow* const window =
        glfwCreateWindow(request.width, request.height, request.title, request.monitor, nullptr);
    glfwDefaultWindowHints();
    return window;
}

} // namespace

OpenedWindow createWindow(const WindowRequest& request)
{
    if (!glfwInit())
        return {nullptr, WindowFailure::Glfw};
    if (request.checkSize && !windowSizeFits(probeWindowLimits(), request.width, request.height))
        return {nullptr, WindowFailure::Window};
    GLFWwindow* const window = createWithHints(request);
    return {window, window != nullptr ? WindowFailure::None : WindowFailure::Window};
}

bool makeContextCurrentWithGlew(GLFWwindow* window)
{
    glfwMakeContextCurrent(window);
    return glewInit() == GLEW_OK;
}

OpenedWindow openWindow(const WindowRequest& request)
{
    const OpenedWindow created = createWindow(request);
    if (created.failure != WindowFailure::None || makeContextCurrentWithGlew(created.window))
        return created;
    glfwDestroyWindow(created.window);
    return {nullptr, WindowFailure::Glew};
}

const char* windowFailureText(WindowFailure failure)
{
    switch (failure) {
    case WindowFailure::None:
        return "no failure";
    case WindowFailure::Glfw:
        return "GLFW failed";
    case WindowFailure::Window:
        return "no window";
    case WindowFailure::Glew:
        return "could not init GLEW";
    }
    return "unknown failure";
}
