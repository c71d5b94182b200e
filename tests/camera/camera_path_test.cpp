// Reading the route file into the camera's path.
#include "camera/camera.h"

#include "route_file.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <string>

namespace {

// Point i of a file of counting numbers: (3i+1, 3i+2, 3i+3), halved.
glm::vec3 countingPoint(int i)
{
    return glm::vec3(3 * i + 1, 3 * i + 2, 3 * i + 3) * 0.5f;
}

Camera loadFrom(const std::string& text)
{
    RouteDirectory dir(text.c_str());
    return Camera(nullptr);
}

void expectCountingRoute(const CameraPath& path, int pointsRead)
{
    for (int i = 0; i < PATH_CAPACITY; ++i)
        EXPECT_EQ(path.points[i], i < pointsRead ? countingPoint(i) : glm::vec3(0.0f)) << "point " << i;
}

} // namespace

TEST(CameraPathFile, OneHundredTwentyNumbersGiveFortyHalvedPoints)
{
    const Camera camera = loadFrom(countingNumbers(120));
    expectCountingRoute(camera.path, 40);
    EXPECT_EQ(camera.path.pointCount, 40);
}

TEST(CameraPathFile, LastLineWithoutLineFeedIsRead)
{
    std::string text = countingNumbers(120);
    text.pop_back();
    const Camera camera = loadFrom(text);
    expectCountingRoute(camera.path, 40);
}

TEST(CameraPathFile, TextAfterTheNumberIsIgnored)
{
    const Camera camera = loadFrom("10 and more text\n  -4.5e1xyz\n0.25\n");
    EXPECT_EQ(camera.path.points[0], glm::vec3(5.0f, -22.5f, 0.125f));
}

// The rule chosen for a line with no number at its start: it reads as 0.0, so
// the lines after it keep their place in the triples.
TEST(CameraPathFile, LineWithoutANumberReadsAsZero)
{
    const Camera camera = loadFrom("2\nnot a number\n\n8\n10\n12\n");
    EXPECT_EQ(camera.path.points[0], glm::vec3(1.0f, 0.0f, 0.0f));
    EXPECT_EQ(camera.path.points[1], glm::vec3(4.0f, 5.0f, 6.0f));
}

TEST(CameraPathFile, NumbersBeyondTheHundredAndTwentiethAreIgnored)
{
    for (int count : {121, 122, 200}) {
        const Camera camera = loadFrom(countingNumbers(count));
        expectCountingRoute(camera.path, 40);
        EXPECT_EQ(camera.path.pointCount, 40);
        EXPECT_EQ(camera.path.segmentEnd, 3);
    }
}

TEST(CameraPathFile, ShortFileLeavesTheRemainingPointsAtTheOrigin)
{
    const Camera camera = loadFrom(countingNumbers(20)); // six points and two numbers of a seventh
    expectCountingRoute(camera.path, 6);
    EXPECT_EQ(camera.path.pointCount, 40);
}

TEST(CameraPathFile, MissingFileGivesAnAllZeroRouteSilently)
{
    RouteDirectory dir(nullptr);
    std::ostringstream captured;
    std::streambuf* const original = std::cout.rdbuf(captured.rdbuf());
    const Camera camera(nullptr);
    std::cout.rdbuf(original);

    EXPECT_EQ(captured.str(), "");
    expectCountingRoute(camera.path, 0);
    EXPECT_EQ(camera.path.pointCount, 40);
}

TEST(CameraPathFile, SegmentStartsWithTheFirstFourPoints)
{
    for (int count : {120, 7, 0}) {
        const Camera camera = loadFrom(countingNumbers(count));
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(camera.path.segment[i], camera.path.points[i]) << count << " numbers, point " << i;
        EXPECT_EQ(camera.path.segmentEnd, 3);
        EXPECT_EQ(camera.path.t, 0.0f);
        EXPECT_FALSE(camera.path.finished);
        EXPECT_EQ(camera.path.savedPosition, glm::vec3(0.0f));
        EXPECT_EQ(camera.path.savedFront, glm::vec3(0.0f));
    }
}

TEST(CameraPathFile, CameraStartsWithItsInitialValues)
{
    const Camera camera = loadFrom(countingNumbers(120));
    EXPECT_FLOAT_EQ(camera.nearPlane, 0.1f);
    EXPECT_FLOAT_EQ(camera.farPlane, 500.0f);
    EXPECT_FLOAT_EQ(camera.fieldOfView, 1.0471976f);
    EXPECT_EQ(camera.getPosition(), glm::vec3(0.0f));
    EXPECT_EQ(camera.getCenter(), glm::vec3(0.0f));
    EXPECT_EQ(camera.getUp(), glm::vec3(0.0f, 1.0f, 0.0f));
    EXPECT_EQ(camera.getView(), glm::mat4(1.0f));
    EXPECT_EQ(camera.getProjection(), glm::mat4(1.0f));
}
