// Which window sizes the machine can carry: the rule against given limits, the
// memory figure it reads, and the probe against the real context.
#include "app/window_limits.h"
#include "platform/available_memory.h"
#include "support/gl_context.h"

#include <GLFW/glfw3.h>

#include <gtest/gtest.h>

#include <sstream>

TEST(WindowLimits, ASizeFitsOnlyWithinEveryLimit)
{
    const WindowLimits drawable{16384, 8192, 0};
    const WindowLimits unknown{0, 0, 0};
    const std::uint64_t buffers = windowBufferBytes(4000, 3000);
    const WindowLimits full{16384, 16384, buffers};
    const WindowLimits tight{16384, 16384, 2 * buffers - 2};
    const WindowLimits enough{16384, 16384, 2 * buffers};
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

class WindowLimitsProbe : public GlTest {};

// The probe reports what the context itself says, and afterwards the next window
// is made as if it had never run: shown, and with the caller's context current.
TEST_F(WindowLimitsProbe, ReportsTheContextsLimitsAndLeavesNoTrace)
{
    GLint viewport[2] = {0, 0};
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    const WindowLimits limits = probeWindowLimits();
    EXPECT_EQ(glfwGetCurrentContext(), testWindow());
    EXPECT_GT(limits.largestWidth, 0);
    EXPECT_LE(limits.largestWidth, viewport[0]);
    EXPECT_GT(limits.largestHeight, 0);
    EXPECT_LE(limits.largestHeight, viewport[1]);
    EXPECT_GT(limits.availableBytes, 0u);

    GLFWwindow* next = glfwCreateWindow(64, 48, "after the probe", nullptr, nullptr);
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(glfwGetWindowAttrib(next, GLFW_VISIBLE), GLFW_TRUE);
    glfwDestroyWindow(next);
}
