// Which window sizes the machine can carry: the rule against given limits, the
// memory figure it reads, the probe against the real context, and the opener
// that applies them.
#include "platform/available_memory.h"
#include "platform/renderer_facts.h"
#include "platform/window_limits.h"
#include "platform/window_opener.h"
#include "support/gl_context.h"

#include <GLFW/glfw3.h>

#include <gtest/gtest.h>

#include <sstream>

TEST(WindowLimits, ASizeFitsOnlyWithinEveryLimit)
{
    const WindowLimits drawable{16384, 8192, true, 0, 0};
    const WindowLimits unknown{0, 0, true, 0, 0};
    const std::uint64_t buffers = windowBufferBytes(4000, 3000);
    const WindowLimits full{16384, 16384, true, buffers, 0};
    const WindowLimits tight{16384, 16384, true, 2 * buffers - 2, 0};
    const WindowLimits enough{16384, 16384, true, 2 * buffers, 0};
    const WindowLimits softwareBesideAGpu{16384, 16384, true, buffers, 64 * buffers};
    const WindowLimits gpuOnABusySystem{16384, 16384, false, buffers, 2 * buffers};
    const WindowLimits gpuNearlyFull{16384, 16384, false, 64 * buffers, 2 * buffers - 2};
    const WindowLimits gpuSaysNothing{16384, 16384, false, buffers, 0};
    struct Case {
        const char* name;
        WindowLimits limits;
        int width;
        int height;
        bool fits;
    };
    const Case cases[] = {
        {"at the largest edges", drawable, 16384, 8192, true},
        {"one wider than drawn", drawable, 16385, 100, false},
        {"one taller than drawn", drawable, 100, 8193, false},
        {"zero width", drawable, 0, 600, false},
        {"negative height", drawable, 800, -1, false},
        {"unknown driver, X's largest", unknown, 65535, 65535, true},
        {"unknown driver, beyond X's 16 bits", unknown, 65536, 100, false},
        {"buffers fill the memory", full, 4000, 3000, false},
        {"buffers just over half the memory", tight, 4000, 3000, false},
        {"buffers in half the memory", enough, 4000, 3000, true},
        {"a small window in little memory", full, 320, 240, true},
        {"software: video memory is not where its buffers are", softwareBesideAGpu, 4000, 3000, false},
        {"hardware: busy system memory, room in video memory", gpuOnABusySystem, 4000, 3000, true},
        {"hardware: buffers just over half the video memory", gpuNearlyFull, 4000, 3000, false},
        {"hardware without a figure: only the edges count", gpuSaysNothing, 4000, 3000, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(windowSizeFits(c.limits, c.width, c.height), c.fits) << c.name;
}

TEST(WindowLimits, BufferBytesDoNotWrapForTheLargestSizes)
{
    const std::uint64_t perPixel = windowBufferBytes(1, 1);
    EXPECT_GT(perPixel, 0u);
    EXPECT_EQ(windowBufferBytes(65535, 65535), 65535ull * 65535ull * perPixel);
    EXPECT_EQ(windowBufferBytes(40000, 16384), 40000ull * 16384ull * perPixel);
}

TEST(WindowLimits, MemAvailableIsReadInBytes)
{
    struct Case {
        const char* meminfo;
        std::uint64_t bytes;
    };
    const Case cases[] = {
        {"MemTotal:  24683728 kB\nMemFree:  100 kB\nMemAvailable:   2048 kB\n", 2048ull * 1024},
        {"HugePages_Total:       0\nMemAvailable: 7 kB\n", 7ull * 1024},
        {"MemTotal:  24683728 kB\nMemFree:  100 kB\n", 0},
        {"", 0},
    };
    for (const Case& c : cases) {
        std::istringstream meminfo(c.meminfo);
        EXPECT_EQ(memAvailableBytes(meminfo), c.bytes) << c.meminfo;
    }
}

class WindowOpener : public GlTest {};

// The probe reports what the context itself says and leaves the caller's context
// current; the opener then makes what was asked, shown only if asked although the
// probe's window was hidden, and refuses a size beyond the limits.
TEST_F(WindowOpener, ProbesThenMakesWhatWasAskedOrRefuses)
{
    GLint viewport[2] = {0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    const WindowLimits limits = probeWindowLimits();
    EXPECT_EQ(glfwGetCurrentContext(), testWindow());
    EXPECT_GT(limits.largestWidth, 0);
    EXPECT_LE(limits.largestWidth, viewport[0]);
    EXPECT_GT(limits.largestHeight, 0);
    EXPECT_LE(limits.largestHeight, viewport[1]);
    EXPECT_EQ(limits.softwareRenderer, currentRendererIsSoftware()) << currentRendererName();
    EXPECT_GT(limits.systemBytes, 0u);

    struct Case {
        const char* what;
        WindowRequest request;
        WindowFailure failure;
    };
    const Case cases[] = {
        {"shown", {.width = 64, .height = 48, .title = "shown"}, WindowFailure::None},
        {"hidden", {.width = 64, .height = 48, .title = "hidden", .visible = false}, WindowFailure::None},
        {"debug", {.width = 64, .height = 48, .title = "debug", .visible = false, .debugContext = true},
         WindowFailure::None},
        {"no width", {.width = 0, .height = 48, .title = "no width"}, WindowFailure::Window},
        {"beyond X's 16 bits", {.width = 65536, .height = 48, .title = "too wide"}, WindowFailure::Window},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const OpenedWindow opened = openWindow(c.request);
        EXPECT_EQ(opened.failure, c.failure) << windowFailureText(opened.failure);
        if (opened.window == nullptr)
            continue;
        EXPECT_EQ(glfwGetCurrentContext(), opened.window);
        EXPECT_EQ(glfwGetWindowAttrib(opened.window, GLFW_VISIBLE), c.request.visible ? GLFW_TRUE : GLFW_FALSE);
        GLint flags = 0;
        glGetIntegerv(GL_CONTEXT_FLAGS, &flags);
        EXPECT_EQ((flags & GL_CONTEXT_FLAG_DEBUG_BIT) != 0, c.request.debugContext);
        int width = 0;
        int height = 0;
        glfwGetWindowSize(opened.window, &width, &height);
        EXPECT_EQ(width, c.request.width);
        EXPECT_EQ(height, c.request.height);
        glfwDestroyWindow(opened.window);
    }
}
