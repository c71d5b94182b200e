// The whole scene built in this test process: a window of its own, the program's
// context set-up, then setupScene once. ctest runs every case in a process of its
// own, so each case sees a freshly built scene; run by hand, the cases share one.
#pragma once

#include <glm/glm.hpp>
#include <gtest/gtest.h>

#include <string>

struct GLFWwindow;

// The size the window is created with and the size it is changed to before the
// set-up; the set-up must read the second one from the window.
constexpr int TYPED_WIDTH = 320;
constexpr int TYPED_HEIGHT = 240;
constexpr int CLIENT_WIDTH = 400;
constexpr int CLIENT_HEIGHT = 300;

class SceneTest : public ::testing::Test {
protected:
    void SetUp() override;
    // Runs once, just before the set-up, with the context current and its entry
    // points loaded, so that a case can watch what the set-up does.
    virtual void beforeSetup() {}
};

// What setupScene printed on standard output.
const std::string& setupOutput();

// One frame as the frame driver draws it on a fixed step of `dt`, up to the
// swap, so that the picture can be read back.
void runFrame(float dt);

// Points the camera from `eye` at `target`, the way its own update would, and
// renders one frame without an update (the emitters must have run once before).
void renderView(const glm::vec3& eye, const glm::vec3& target);

// The window pixel a world point lands on under the current camera, origin at the
// bottom left as glReadPixels counts; false when the point is behind the camera
// or outside the window.
bool projectToPixel(const glm::vec3& world, glm::ivec2& pixel);

glm::vec3 readColour(const glm::ivec2& pixel);   // 0..1 from the back buffer
float readDepth(const glm::ivec2& pixel);
