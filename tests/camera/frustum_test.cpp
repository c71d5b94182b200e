// Bounding boxes and the view-frustum test with its counter.
#include "camera/bounding_box.h"
#include "camera/camera.h"
#include "camera/frustum.h"
#include "model/vertex.h"

#include "route_file.h"
#include "support/gl_context.h"

#include <glm/gtc/matrix_transform.hpp>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

Vertex at(glm::vec3 position)
{
    return Vertex{position, glm::vec3(0.0f), glm::vec2(0.0f)};
}

BoundingBox boxBetween(glm::vec3 low, glm::vec3 high)
{
    BoundingBox box;
    box.fitToVertices({at(low), at(high)});
    box.transform(glm::mat4(1.0f));
    return box;
}

// The eye at the origin looking along -z with +y up, near 0.1, far 500, a
// field of view of 60 degrees and a square window (the 256 x 256 test window).
class FrustumTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        RouteDirectory dir(nullptr);
        camera = std::make_unique<Camera>(testWindow());
        camera->position = glm::vec3(0.0f);
        camera->front = glm::vec3(0.0f, 0.0f, -1.0f);
        frustum = std::make_unique<Frustum>(camera.get());
        frustum->update();
    }

    std::unique_ptr<Camera> camera;
    std::unique_ptr<Frustum> frustum;
};

} // namespace

TEST(BoundingBoxTest, CornersFollowTheFixedOrder)
{
    BoundingBox box;
    box.fitToVertices({at({1, 5, -2}), at({-3, 2, 4}), at({0, 7, 1})});
    const glm::vec3 m(-3, 2, -2);
    const glm::vec3 big(1, 7, 4);
    EXPECT_EQ(box.minCorner, m);
    EXPECT_EQ(box.extents, glm::vec3(4, 5, 6));
    const glm::vec3 expected[8] = {m, m + glm::vec3(4, 0, 0), m + glm::vec3(0, 5, 0), m + glm::vec3(0, 0, 6),
                                   big, big - glm::vec3(4, 0, 0), big - glm::vec3(0, 5, 0), big - glm::vec3(0, 0, 6)};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(box.localCorners[i], expected[i]) << "corner " << i;
}

TEST(BoundingBoxTest, SingleVertexHasZeroExtentsAndEightEqualCorners)
{
    BoundingBox box;
    box.fitToVertices({at({2.5f, -1.0f, 3.0f})});
    EXPECT_EQ(box.extents, glm::vec3(0.0f));
    for (const glm::vec3& corner : box.localCorners)
        EXPECT_EQ(corner, glm::vec3(2.5f, -1.0f, 3.0f));
}

TEST(BoundingBoxTest, EmptyListLeavesTheBoxAsItWas)
{
    BoundingBox box;
    box.fitToVertices({at({1, 2, 3}), at({4, 6, 8})});
    box.fitToVertices({});
    EXPECT_EQ(box.minCorner, glm::vec3(1, 2, 3));
    EXPECT_EQ(box.extents, glm::vec3(3, 4, 5));
}

TEST(BoundingBoxTest, TransformMovesTheCornersAndRescalesTheExtents)
{
    BoundingBox box;
    box.fitToVertices({at({0, 0, 0}), at({2, 4, 6})});
    const glm::mat4 model = glm::translate(glm::scale(glm::mat4(1.0f), glm::vec3(0.5f)), glm::vec3(10, 0, -2));
    box.transform(model);
    EXPECT_EQ(box.matrix, model);
    EXPECT_EQ(box.worldCorners[0], glm::vec3(5, 0, -1));
    EXPECT_EQ(box.worldCorners[4], glm::vec3(6, 2, 2));
    EXPECT_EQ(box.extents, glm::vec3(1, 2, 3));
    EXPECT_EQ(box.minCorner, glm::vec3(0, 0, 0));

    // A mirroring scale still gives positive extents.
    box.transform(glm::scale(glm::mat4(1.0f), glm::vec3(-1.0f, 1.0f, 1.0f)));
    EXPECT_EQ(box.extents, glm::vec3(2, 4, 6));
}

TEST_F(FrustumTest, PlanesComeInTheirOrderWithInwardNormals)
{
    const Plane* planes = frustum->planes;
    EXPECT_EQ(planes[0].normal, glm::vec3(0, 0, 1)); // far
    EXPECT_FLOAT_EQ(planes[0].d, 500.0f);
    EXPECT_EQ(planes[1].normal, glm::vec3(0, 0, -1)); // near
    EXPECT_FLOAT_EQ(planes[1].d, -0.1f);
    EXPECT_LT(planes[2].normal.x, 0.0f); // right
    EXPECT_GT(planes[3].normal.x, 0.0f); // left
    EXPECT_LT(planes[4].normal.y, 0.0f); // top
    EXPECT_GT(planes[5].normal.y, 0.0f); // bottom
    for (int i = 2; i < 6; ++i) {
        EXPECT_EQ(planes[i].point, glm::vec3(0.0f));
        EXPECT_FLOAT_EQ(planes[i].d, 0.0f);
        EXPECT_NEAR(glm::length(planes[i].normal), 1.0f, 1e-6f);
        // Square window, 60 degrees: each side plane is 30 degrees off the view axis.
        EXPECT_NEAR(glm::dot(planes[i].normal, glm::vec3(0, 0, -1)), 0.5f, 1e-5f) << "plane " << i;
    }
}

TEST_F(FrustumTest, BoxesInsideBehindAndAcrossTheFarPlane)
{
    EXPECT_EQ(frustum->boxVisibility(boxBetween({-1, -1, -11}, {1, 1, -9})), INSIDE);
    EXPECT_EQ(frustum->boxVisibility(boxBetween({-1, -1, 9}, {1, 1, 11})), OUTSIDE);
    EXPECT_EQ(frustum->boxVisibility(boxBetween({-1, -1, -510}, {1, 1, -490})), INTERSECT);
    // Wholly to the right of the 30-degree side plane at distance 10.
    EXPECT_EQ(frustum->boxVisibility(boxBetween({20, -1, -11}, {22, 1, -9})), OUTSIDE);
}

TEST_F(FrustumTest, OnlyBoxesThatPassAreCounted)
{
    frustum->objectCount = 0;
    frustum->boxVisibility(boxBetween({-1, -1, 9}, {1, 1, 11}));
    EXPECT_EQ(frustum->objectCount, 0);
    frustum->boxVisibility(boxBetween({-1, -1, -11}, {1, 1, -9}));
    EXPECT_EQ(frustum->objectCount, 1);
    frustum->boxVisibility(boxBetween({-1, -1, -510}, {1, 1, -490}));
    EXPECT_EQ(frustum->objectCount, 2);
    frustum->boxVisibility(boxBetween({-1, -1, 9}, {1, 1, 11}));
    EXPECT_EQ(frustum->objectCount, 2);
}

TEST_F(FrustumTest, CullingOffCountsEveryBoxAsInside)
{
    frustum->cullingEnabled = false;
    frustum->objectCount = 0;
    EXPECT_EQ(frustum->boxVisibility(boxBetween({-1, -1, 9}, {1, 1, 11})), INSIDE);
    EXPECT_EQ(frustum->boxVisibility(boxBetween({-1, -1, -510}, {1, 1, -490})), INSIDE);
    EXPECT_EQ(frustum->boxVisibility(boxBetween({-1, -1, -11}, {1, 1, -9})), INSIDE);
    EXPECT_EQ(frustum->objectCount, 3);
}

TEST_F(FrustumTest, FollowsTheCameraAfterUpdate)
{
    camera->position = glm::vec3(0.0f, 0.0f, 20.0f);
    camera->front = glm::vec3(0.0f, 0.0f, 5.0f); // not normalised, as the route's tangent
    frustum->update();
    EXPECT_EQ(frustum->boxVisibility(boxBetween({-1, -1, -11}, {1, 1, -9})), OUTSIDE);
    EXPECT_EQ(frustum->boxVisibility(boxBetween({-1, -1, 29}, {1, 1, 31})), INSIDE);
}

// A minimised window reports a height of 0; the camera then keeps its last valid
// ratio, and the side planes follow the camera's ratio, never the window's.
TEST_F(FrustumTest, SidePlanesFollowTheCamerasRatio)
{
    camera->aspect = 2.0f;
    frustum->update();
    // Half the width at distance 9 is 10.4 at a ratio of 2, and 5.2 at the square window's.
    EXPECT_EQ(frustum->boxVisibility(boxBetween({8, -1, -11}, {10, 1, -9})), INSIDE);
    EXPECT_EQ(frustum->boxVisibility(boxBetween({-1, 8, -11}, {1, 10, -9})), OUTSIDE);
}
