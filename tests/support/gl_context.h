// A hidden GLFW window with a current compatibility-profile context, shared by all
// GL tests of one test executable. Needs a display (Xvfb in CI).
#pragma once

#include <GL/glew.h>

#include <gtest/gtest.h>

struct GLFWwindow;

// The test window; created on first use, destroyed at process exit.
GLFWwindow* testWindow();

// Fixture base for tests that need a current context: makes it current and
// clears pending GL errors before each case.
class GlTest : public ::testing::Test {
protected:
    void SetUp() override;
};

// Whether the test context's renderer is zink (Mesa's OpenGL on Vulkan), for
// the cases that driver cannot do here and skips with their reason.
bool rendererIsZink();

// Drains the GL error queue and returns the first error seen (GL_NO_ERROR if none).
GLenum takeGlError();
