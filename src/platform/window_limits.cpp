// Probing and applying the window limits.
#include "platform/window_limits.h"

#include "platform/available_memory.h"
#include "platform/renderer_facts.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <algorithm>
#include <initializer_list>

namespace {

// X carries a window's width and height in 16-bit fields: a larger size would
// reach the server cut down to another one.
constexpr int X_LARGEST_EDGE = 65535;

// Back and front colour, packed depth and stencil, and the image sent to the
// server: four bytes a pixel each.
constexpr std::uint64_t BUFFER_BYTES_PER_PIXEL = 16;

// The smallest positive of the driver's limits for one edge; 0 when none is said.
int smallestSaid(std::initializer_list<GLint> limits)
{
    int smallest = 0;
    for (const GLint limit : limits)
        if (limit > 0)
            smallest = smallest == 0 ? limit : std::min(smallest, static_cast<int>(limit));
    return smallest;
}

// Zero or a negative edge is no window at all.
bool edgeFits(int edge, int largest)
{
    return edge > 0 && edge <= X_LARGEST_EDGE && (largest == 0 || edge <= largest);
}

// The window's buffers are surfaces like a renderbuffer or a texture, and only
// the largest viewport is ever drawn: the smallest of these bounds it.
void readContextLimits(WindowLimits& limits)
{
    GLint viewport[2] = {0, 0};
    GLint renderbuffer = 0;
    GLint texture = 0;
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbuffer);
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &texture);
    limits.largestWidth = smallestSaid({viewport[0], renderbuffer, texture});
    limits.largestHeight = smallestSaid({viewport[1], renderbuffer, texture});
}

// Where the driver cannot be asked, the buffers are taken to be in system
// memory, the stricter assumption on a busy machine.
void readRendererMemory(WindowLimits& limits)
{
    if (glewInit() != GLEW_OK)
        return;
    limits.softwareRenderer = currentRendererIsSoftware();
    limits.videoBytes = reportedVideoMemoryBytes();
}

} // namespace

WindowLimits probeWindowLimits()
{
    WindowLimits limits;
    limits.systemBytes = availableMemoryBytes();

    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    GLFWwindow* probe = glfwCreateWindow(1, 1, "window limits", nullptr, nullptr);
    glfwDefaultWindowHints();
    if (probe == nullptr)
        return limits;

    GLFWwindow* const previous = glfwGetCurrentContext();
    glfwMakeContextCurrent(probe);
    readContextLimits(limits);
    readRendererMemory(limits);
    glfwMakeContextCurrent(previous);
    glfwDestroyWindow(probe);
    return limits;
}

std::uint64_t windowBufferBytes(int width, int height)
{
    return static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * BUFFER_BYTES_PER_PIXEL;
}

bool windowSizeFits(const WindowLimits& limits, int width, int height)
{
    if (!edgeFits(width, limits.largestWidth) || !edgeFits(height, limits.largestHeight))
        return false;
    // A GPU keeps the buffers in its own memory, however busy the system's is.
    // The other half stays for the scene's textures, meshes and shadow maps and
    // for the rest of the machine; a small window thus fits wherever the scene does.
    const std::uint64_t memory = limits.softwareRenderer ? limits.systemBytes : limits.videoBytes;
    return memory == 0 || windowBufferBytes(width, height) <= memory / 2;
}
