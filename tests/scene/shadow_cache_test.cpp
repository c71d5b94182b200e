// The shadow maps are drawn again exactly when what they depend on changes. A
// marker depth cleared into both maps shows which ones a frame drew: an
// unchanged map keeps the marker, a drawn one loses it.
#include "scene_fixture.h"

#include "app/scene.h"
#include "app/scene_state.h"
#include "camera/camera.h"
#include "camera/frustum.h"
#include "model/model.h"
#include "render/frame_passes.h"
#include "render/shadow_map_target.h"

#include <GL/glew.h>
#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <vector>

namespace {

// Exact in any depth format; a drawn map is cleared to 1.0 before its casters.
constexpr float MARKER = 0.0f;

void markShadowMaps()
{
    for (const GLuint fbo : {scene.shadowTarget->directionalFbo, scene.shadowTarget->pointFbo}) {
        glBindFramebuffer(GL_FRAMEBUFFER, fbo);
        glClearDepth(MARKER);
        glClear(GL_DEPTH_BUFFER_BIT);
    }
    glClearDepth(1.0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

bool holdsOnlyTheMarker(GLenum target, GLenum image, GLuint texture)
{
    std::vector<float> depth(static_cast<std::size_t>(SHADOW_MAP_SIZE) * SHADOW_MAP_SIZE);
    glBindTexture(target, texture);
    glGetTexImage(image, 0, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    glBindTexture(target, 0);
    return std::all_of(depth.begin(), depth.end(), [](float d) { return d == MARKER; });
}

struct Drawn {
    bool sun;
    bool fire;
};

// One frame after marking both maps: which of them it drew.
Drawn frameDraws()
{
    markShadowMaps();
    runFrame(0.1f);
    const ShadowMapTarget& target = *scene.shadowTarget;
    bool fireKept = true;
    for (int face = 0; face < 6; ++face)
        fireKept = holdsOnlyTheMarker(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_CUBE_MAP_POSITIVE_X + face,
                                      target.pointDepthCube) && fireKept;
    return {!holdsOnlyTheMarker(GL_TEXTURE_2D, GL_TEXTURE_2D, target.directionalDepth), !fireKept};
}

std::vector<unsigned char> readFrame()
{
    std::vector<unsigned char> pixels(static_cast<std::size_t>(scene.windowWidth) * scene.windowHeight * 4);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, scene.windowWidth, scene.windowHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// The frame just rendered, rendered again with both maps drawn for it.
std::vector<unsigned char> frameWithFreshShadowMaps()
{
    scene.settings.redrawShadowMaps = true;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    scene.frustum->update();
    renderFrame();
    scene.settings.redrawShadowMaps = false;
    return readFrame();
}

} // namespace

TEST_F(SceneTest, ShadowMapsAreDrawnAgainOnlyWhenWhatTheyDependOnChanges)
{
    runFrame(0.1f);
    const auto expectDraws = [](const char* change, bool sun, bool fire) {
        const Drawn drawn = frameDraws();
        EXPECT_EQ(drawn.sun, sun) << change;
        EXPECT_EQ(drawn.fire, fire) << change;
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << change;
    };

    expectDraws("nothing changed, the camera flew on", false, false);

    scene.lightRotation = glm::rotate(scene.lightRotation, 0.01f, glm::vec3(0.0f, 0.0f, 1.0f));
    expectDraws("the sun turned", true, false);

    scene.pointLight.Position += glm::vec3(0.0f, 1.0f, 0.0f);
    expectDraws("the fire light moved", false, true);

    Mesh& caster = scene.models.back()->meshes.front();
    caster.position += glm::vec3(2.0f, 0.0f, 0.0f);
    expectDraws("a caster moved", true, true);

    scene.settings.wireframe = true;
    expectDraws("wireframe switched on", true, true);
    scene.settings.wireframe = false;
    expectDraws("wireframe switched off", true, true);

    scene.settings.redrawShadowMaps = true;
    expectDraws("redrawn every frame", true, true);
    expectDraws("redrawn every frame, again", true, true);
    scene.settings.redrawShadowMaps = false;
    expectDraws("cached again", false, false);
}

// Cached maps give the same picture as maps drawn for the very frame: along the
// route, and on frames of the sunset, where the sun's map follows the turning light.
TEST_F(SceneTest, CachedShadowMapsGiveThePictureOfMapsDrawnForTheFrame)
{
    for (int frame = 0; frame < 150; ++frame)
        runFrame(0.1f);
    const std::vector<unsigned char> onTheRoute = readFrame();
    EXPECT_TRUE(onTheRoute == frameWithFreshShadowMaps()) << "15 s into the route";

    while (!scene.camera->path.finished)
        updateScene(0.1f);
    for (int frame = 1; frame <= 20; ++frame) {
        runFrame(0.1f);
        if (frame % 10 == 0) {
            const std::vector<unsigned char> cached = readFrame();
            EXPECT_TRUE(cached == frameWithFreshShadowMaps()) << "frame " << frame << " of the sunset";
        }
    }
    EXPECT_FALSE(scene.skyDimmed) << "the comparisons must fall within the sunset";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
