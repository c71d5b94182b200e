// The shared hidden window and context of the GL tests.
#include "support/gl_context.h"

#include "platform/window_opener.h"

#include <GLFW/glfw3.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

void reportGlfwError(int code, const char* description)
{
    std::fprintf(stderr, "GLFW error 0x%x: %s\n", code, description);
}

// Under a loaded X server a connection or context can fail transiently; a few
// tries keep such a hiccup from failing an unrelated test.
GLFWwindow* openWindowWithRetries()
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        const OpenedWindow opened =
            openWindow({.width = 256, .height = 256, .title = "frostember-test", .visible = false, .checkSize = false});
        if (opened.failure == WindowFailure::None)
            return opened.window;
        glfwTerminate();
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    return nullptr;
}

GLFWwindow* openTestWindow()
{
    glfwSetErrorCallback(reportGlfwError);
    GLFWwindow* window = openWindowWithRetries();
    if (window != nullptr)
        std::atexit(glfwTerminate);
    return window;
}

} // namespace

GLFWwindow* testWindow()
{
    static GLFWwindow* window = openTestWindow();
    return window;
}

void GlTest::SetUp()
{
    GLFWwindow* window = testWindow();
    ASSERT_NE(window, nullptr) << "no OpenGL context: is DISPLAY set (xvfb-run)?";
    glfwMakeContextCurrent(window);
    takeGlError();
}

bool rendererIsZink()
{
    static const bool zink = [] {
        GLFWwindow* const window = testWindow();
        if (window == nullptr)
            return false;
        GLFWwindow* const current = glfwGetCurrentContext();
        glfwMakeContextCurrent(window);
        const GLubyte* const renderer = glGetString(GL_RENDERER);
        const bool named = renderer != nullptr && std::strstr(reinterpret_cast<const char*>(renderer), "zink");
        glfwMakeContextCurrent(current);
        return named;
    }();
    return zink;
}

GLenum takeGlError()
{
    GLenum first = GL_NO_ERROR;
    for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError())
        if (first == GL_NO_ERROR)
            first = error;
    return first;
}
