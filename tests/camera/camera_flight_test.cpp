// The camera flying its route: pace, segment changes, the held end view and the
// matrices built from the window's size.
#include "camera/window_ratio.h"
#include "camera/camera.h"
#include "platform/window_opener.h"

#include "route_file.h"
#include "support/gl_context.h"

#include <GLFW/glfw3.h>
#include <glm/gtc/matrix_transform.hpp>

#include <gtest/gtest.h>

#include <cmath>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

namespace {

// Collects what the camera prints while it lives.
class CapturedOutput {
public:
    CapturedOutput() : original(std::cout.rdbuf(text.rdbuf())) {}
    ~CapturedOutput() { std::cout.rdbuf(original); }
    std::string str() const { return text.str(); }

private:
    std::ostringstream text;
    std::streambuf* original;
};

class CameraFlight : public GlTest {
protected:
    // A route of 40 distinct points (counting numbers, halved).
    std::unique_ptr<Camera> makeCamera(GLFWwindow* window)
    {
        RouteDirectory dir(countingNumbers(120).c_str());
        return std::make_unique<Camera>(window);
    }
};

} // namespace

TEST_F(CameraFlight, FramesLongerThanATenthOfASecondDoNotMoveTheCamera)
{
    auto camera = makeCamera(testWindow());
    const CameraPath& path = camera->path;
    for (int frame = 0; frame < 50; ++frame) {
        camera->update(0.15f);
        EXPECT_EQ(path.t, 0.0f);
    }
    EXPECT_EQ(path.segmentEnd, 3);
    // At t = 0 the eye is on the segment's first anchor, looking along 3 (P1 - P0).
    EXPECT_EQ(camera->getPosition(), path.points[0]);
    EXPECT_EQ(camera->front, 3.0f * (path.points[1] - path.points[0]));
    EXPECT_EQ(camera->getCenter(), camera->getPosition() + camera->front);
}

TEST_F(CameraFlight, FramesOfATenthOfASecondAdvanceTByOneHundredth)
{
    auto camera = makeCamera(testWindow());
    float previous = 0.0f;
    for (int frame = 1; frame <= 100; ++frame) {
        camera->update(0.1f);
        EXPECT_NEAR(camera->path.t - previous, 0.01f, 1e-6f) << "frame " << frame;
        previous = camera->path.t;
    }
}

TEST_F(CameraFlight, PositionFollowsTheCubicBezierOfTheSegment)
{
    auto camera = makeCamera(testWindow());
    for (int frame = 0; frame < 37; ++frame)
        camera->update(0.1f);
    const float t = camera->path.t;
    const float s = 1.0f - t;
    const glm::vec3* p = camera->path.points;
    const glm::vec3 position = s * s * s * p[0] + 3.0f * t * s * s * p[1] + 3.0f * t * t * s * p[2] + t * t * t * p[3];
    const glm::vec3 front = 3.0f * s * s * (p[1] - p[0]) + 6.0f * s * t * (p[2] - p[1]) + 3.0f * t * t * (p[3] - p[2]);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(camera->position[i], position[i], 1e-4f);
        EXPECT_NEAR(camera->front[i], front[i], 1e-4f);
    }
    const glm::mat4 view = glm::lookAt(camera->position, camera->position + camera->front, glm::vec3(0, 1, 0));
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            EXPECT_NEAR(camera->getView()[c][r], view[c][r], 1e-5f);
}

// A hundred float steps of 0.01 sum to 0.99999934, just short of 1, so each
// change of segment comes on the 101st frame of 0.1 s: a hundred frames flown
// at t = 0.01 ... 1, then the change.
TEST_F(CameraFlight, WholeRoutePrintsTwelveSegmentChangesAndThenHolds)
{
    auto camera = makeCamera(testWindow());
    const CameraPath& path = camera->path;
    CapturedOutput output;

    int frame = 0;
    std::string expectedLines;
    for (int segmentEnd = 3; segmentEnd < 39; segmentEnd += 3) {
        for (int step = 1; step <= 100; ++step) {
            camera->update(0.1f);
            ++frame;
            ASSERT_EQ(path.segmentEnd, segmentEnd) << "frame " << frame;
        }
        EXPECT_EQ(output.str(), expectedLines);
        camera->update(0.1f);
        ++frame;
        expectedLines += "40 " + std::to_string(segmentEnd) + "\n";
        EXPECT_EQ(output.str(), expectedLines) << "frame " << frame;
        ASSERT_EQ(path.segmentEnd, segmentEnd + 3);
        EXPECT_EQ(path.t, 0.0f);
        // The new segment starts on its first anchor.
        EXPECT_EQ(camera->getPosition(), path.points[segmentEnd]);
        EXPECT_EQ(camera->front, 3.0f * (path.points[segmentEnd + 1] - path.points[segmentEnd]));
    }

    for (int step = 1; step <= 100; ++step) {
        camera->update(0.1f);
        ASSERT_FALSE(path.finished) << "last segment, step " << step;
    }
    const glm::vec3 lastPosition = camera->getPosition();
    const glm::vec3 lastFront = camera->front;
    const glm::mat4 lastView = camera->getView();
    EXPECT_EQ(path.savedPosition, lastPosition);
    EXPECT_EQ(path.savedFront, lastFront);

    camera->update(0.1f);
    EXPECT_TRUE(path.finished);
    for (int extra = 0; extra < 300; ++extra) {
        EXPECT_EQ(camera->getPosition(), lastPosition);
        EXPECT_EQ(camera->front, lastFront);
        EXPECT_EQ(camera->getView(), lastView);
        camera->update(extra % 2 == 0 ? 0.1f : 0.01f);
    }
    EXPECT_EQ(output.str(), "40 3\n40 6\n40 9\n40 12\n40 15\n40 18\n40 21\n40 24\n40 27\n40 30\n40 33\n40 36\n");
}

TEST_F(CameraFlight, ProjectionComesFromTheWindowsSize)
{
    const OpenedWindow opened = openWindow(
        {.width = 1280, .height = 720, .title = "frostember-camera-1280x720", .visible = false, .checkSize = false});
    GLFWwindow* const wide = opened.window;
    ASSERT_NE(wide, nullptr) << windowFailureText(opened.failure);

    auto camera = makeCamera(wide);
    camera->update(0.016f);
    EXPECT_NEAR(camera->getProjection()[0][0], 0.97427857f, 1e-6f);
    EXPECT_NEAR(camera->getProjection()[1][1], 1.7320508f, 1e-6f);
    EXPECT_EQ(camera->getProjection()[2][3], -1.0f);
    EXPECT_NEAR(camera->aspect, 1280.0f / 720.0f, 1e-6f);
    glfwDestroyWindow(wide);
}

TEST_F(CameraFlight, SquareWindowGivesEqualHorizontalAndVerticalScale)
{
    auto camera = makeCamera(testWindow()); // 256 x 256
    camera->update(0.016f);
    EXPECT_FLOAT_EQ(camera->getProjection()[0][0], camera->getProjection()[1][1]);
}

// A minimised window reports a size of 0: the last valid ratio stays, so the
// projection stays finite.
TEST(CameraAspect, WindowOfZeroSizeKeepsTheLastValidRatio)
{
    EXPECT_FLOAT_EQ(aspectRatio(1280, 720, 1.0f), 1280.0f / 720.0f);
    EXPECT_FLOAT_EQ(aspectRatio(1280, 0, 1.5f), 1.5f);
    EXPECT_FLOAT_EQ(aspectRatio(0, 0, 1.5f), 1.5f);
    EXPECT_FLOAT_EQ(aspectRatio(0, 720, 1.5f), 1.5f);

    const glm::mat4 projection = glm::perspective(1.0471976f, aspectRatio(1280, 0, 1.5f), 0.1f, 500.0f);
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            EXPECT_TRUE(std::isfinite(projection[c][r]));
}
