// A debug context's messages as the report writes them: high and medium ones
// each one line in the program's name, counted; the lower ones left out.
#include "platform/gl_debug_report.h"
#include "platform/report_line.h"
#include "platform/window_opener.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <string>

TEST(GlDebugReport, HighAndMediumMessagesAreOneLineEachAndCounted)
{
    const OpenedWindow opened = openWindow({.width = 64, .height = 48, .title = "gl-debug", .visible = false,
                                            .debugContext = true, .checkSize = false});
    ASSERT_EQ(opened.failure, WindowFailure::None) << "is DISPLAY set (xvfb-run)?";
    ASSERT_TRUE(startGlDebugReport());

    struct Case {
        GLenum severity;
        const char* text;
        const char* line; // null: not reported
    };
    const Case cases[] = {
        {GL_DEBUG_SEVERITY_HIGH, "one", "GL debug: high: one"},
        {GL_DEBUG_SEVERITY_MEDIUM, "two\nlines\n", "GL debug: medium: two lines"},
        {GL_DEBUG_SEVERITY_LOW, "low", nullptr},
        {GL_DEBUG_SEVERITY_NOTIFICATION, "news", nullptr},
    };
    long reported = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        testing::internal::CaptureStderr();
        glDebugMessageInsert(GL_DEBUG_SOURCE_APPLICATION, GL_DEBUG_TYPE_OTHER, 1, c.severity, -1, c.text);
        const std::string written = testing::internal::GetCapturedStderr();
        reported += c.line != nullptr ? 1 : 0;
        EXPECT_EQ(written, c.line != nullptr ? std::string(programName()) + ": " + c.line + "\n" : "");
        EXPECT_EQ(glDebugMessagesReported(), reported);
    }

    // The driver's own word on a call the program got wrong.
    testing::internal::CaptureStderr();
    glEnable(0xFFFF);
    const std::string written = testing::internal::GetCapturedStderr();
    EXPECT_EQ(written.rfind(std::string(programName()) + ": GL debug: high: ", 0), 0u) << written;
    EXPECT_EQ(glDebugMessagesReported(), reported + 1);
    glGetError();
    glfwDestroyWindow(opened.window);
}
