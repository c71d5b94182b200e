// The shared hidden window and context of the GL tests.
#include "support/gl_context.h"

#include <GLFW/glfw3.h>

#include <cstdlib>

namespace {

GLFWwindow* createWindow()
{
    if (!glfwInit())
        return nullptr;
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow* window = glfwCreateWindow(256, 256, "frostember-test", nullptr, nullptr);
    if (window == nullptr)
        return nullptr;
    glfwMakeContextCurrent(window);
    if (glewInit() != GLEW_OK)
        return nullptr;
    std::atexit(glfwTerminate);
    return window;
}

} // namespace

GLFWwindow* testWindow()
{
    static GLFWwindow* window = createWindow();
    return window;
}

void GlTest::SetUp()
{
    GLFWwindow* window = testWindow();
    ASSERT_NE(window, nullptr) << "no OpenGL context: is DISPLAY set (xvfb-run)?";
    glfwMakeContextCurrent(window);
    takeGlError();
}

GLenum takeGlError()
{
    GLenum first = GL_NO_ERROR;
    for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError())
        if (first == GL_NO_ERROR)
            first = error;
    return first;
}
