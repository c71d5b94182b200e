// Starting the flight over: after the route and the sunset, the restart puts
// the scene back where a fresh flight begins, so that the next frame is the
// route's first frame again, shadows and sky included.
#include "scene_fixture.h"

#include "app/scene.h"
#include "app/scene_state.h"
#include "camera/camera.h"
#include "render/shader_program.h"
#include "render/shadow_map_target.h"

#include <GL/glew.h>

namespace {

struct FrameState {
    glm::vec3 position;
    glm::vec3 front;
    glm::mat4 lightViewProj;
    float skyUniform;
};

FrameState frameState()
{
    float skyUniform = 0.0f;
    glGetUniformfv(scene.skyProgram->id, glGetUniformLocation(scene.skyProgram->id, "light"), &skyUniform);
    return {scene.camera->position, scene.camera->front, scene.lightViewProj, skyUniform};
}

// The camera on its last segment's end, then frames until the sunset is over.
void flyToTheDusk()
{
    CameraPath& path = scene.camera->path;
    for (int i = 0; i < 4; ++i)
        path.segment[i] = path.points[path.pointCount - 4 + i];
    path.segmentEnd = path.pointCount - 1;
    path.t = 0.99f;
    for (int frame = 0; frame < 200 && !scene.skyDimmed; ++frame)
        runFrame(0.1f);
}

} // namespace

TEST_F(SceneTest, RestartedFlightBeginsAsTheFirstOneDid)
{
    runFrame(0.1f);
    const FrameState first = frameState();

    flyToTheDusk();
    ASSERT_TRUE(scene.camera->path.finished);
    ASSERT_TRUE(scene.skyDimmed);
    const FrameState dusk = frameState();
    ASSERT_NE(dusk.lightViewProj, first.lightViewProj) << "the sunset turned the sun";
    ASSERT_LT(dusk.skyUniform, first.skyUniform) << "the sunset dimmed the sky";

    restartFlight();
    EXPECT_FALSE(scene.camera->path.finished);
    EXPECT_EQ(scene.skyLight, 1.0f);
    EXPECT_FALSE(scene.skyDimmed);
    EXPECT_FALSE(scene.shadowTarget->directionalCache.drawnFrom.has_value());
    EXPECT_TRUE(scene.shadowTarget->pointCache.drawnFrom.has_value()) << "the fire's map, unchanged, is kept";

    runFrame(0.1f);
    const FrameState again = frameState();
    EXPECT_EQ(again.position, first.position);
    EXPECT_EQ(again.front, first.front);
    EXPECT_EQ(again.lightViewProj, first.lightViewProj);
    EXPECT_EQ(again.skyUniform, first.skyUniform);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
