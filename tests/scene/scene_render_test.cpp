// Rendered frames of the whole scene, read back pixel by pixel at the places
// where world points land on the screen.
#include "scene_fixture.h"

#include "app/scene_emitters.h"
#include "app/scene_state.h"
#include "camera/camera.h"
#include "camera/frustum.h"
#include "layout/scene_layout.h"
#include "model/model.h"
#include "particles/particle_system.h"
#include "render/light_volume_texture.h"
#include "support/process.h"

#include <GL/glew.h>

#include <algorithm>
#include <vector>

namespace {

// The flames, ten units above the fire emitter they rise from.
constexpr glm::vec3 FLAMES = layout::FIRE + glm::vec3(0.0f, 10.0f, 0.0f);
// Outside the room, seen from the route's start through the middle of the upper
// pane of the nearer left-wall window: clear of its curtains and its cross.
constexpr glm::vec3 OUTSIDE_LEFT_WINDOW(-69.0f, 110.0f, -36.0f);
// On the floor: in the sun that falls through a pane of the far left window
// (clear of the frame's cross, whose shadow runs through the patch's middle),
// and between the two left windows, where the wall throws its shadow.
constexpr glm::vec3 SUNLIT_FLOOR(100.0f, 0.0f, -150.0f);
constexpr glm::vec3 SHADED_FLOOR(100.0f, 0.0f, -92.0f);

float luminance(const glm::vec3& colour)
{
    return 0.2126f * colour.r + 0.7152f * colour.g + 0.0722f * colour.b;
}

// The reddest pixel around `centre`: particles flicker across a few pixels.
glm::vec3 reddestAround(const glm::ivec2& centre, int radius)
{
    glm::vec3 best(0.0f);
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx) {
            const glm::vec3 colour = readColour(centre + glm::ivec2(dx, dy));
            if (colour.r - colour.b > best.r - best.b)
                best = colour;
        }
    return best;
}

// The mean colour of the square of pixels `radius` around `centre`.
glm::vec3 meanAround(const glm::ivec2& centre, int radius)
{
    glm::vec3 sum(0.0f);
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx)
            sum += readColour(centre + glm::ivec2(dx, dy));
    return sum / static_cast<float>((2 * radius + 1) * (2 * radius + 1));
}

// Looks from `eye` at `target` and returns the mean colour of the square of
// pixels `radius` around the target, drawn without a GL error.
glm::vec3 meanAroundTarget(const glm::vec3& eye, const glm::vec3& target, int radius)
{
    renderView(eye, target);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glm::ivec2 middle(0);
    EXPECT_TRUE(projectToPixel(target, middle)) << "the target is in view";
    return meanAround(middle, radius);
}

// Pixels of the room (not the sky) that are exactly black.
int blackSurfacePixels()
{
    const int count = scene.windowWidth * scene.windowHeight;
    std::vector<unsigned char> rgb(3 * count);
    std::vector<float> depth(count);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, scene.windowWidth, scene.windowHeight, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    glReadPixels(0, 0, scene.windowWidth, scene.windowHeight, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    int black = 0;
    for (int i = 0; i < count; ++i)
        if (depth[i] < 1.0f && rgb[3 * i] == 0 && rgb[3 * i + 1] == 0 && rgb[3 * i + 2] == 0)
            ++black;
    return black;
}

// The whole back buffer, RGB, bottom row first.
std::vector<unsigned char> readFrame()
{
    std::vector<unsigned char> rgb(3 * scene.windowWidth * scene.windowHeight);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, scene.windowWidth, scene.windowHeight, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

int meshCount()
{
    int count = 0;
    for (const Model* model : scene.models)
        count += static_cast<int>(model->meshes.size());
    return count;
}

} // namespace

TEST_F(SceneTest, TheFirstFrameShowsTheFireAndTheSkyThroughAWindow)
{
    runFrame(0.1f);
    glFinish();
    ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    glm::ivec2 firePixel;
    ASSERT_TRUE(projectToPixel(FLAMES, firePixel)) << "the route starts with the fireplace in view";
    const glm::vec3 fire = reddestAround(firePixel, 3);
    EXPECT_GT(fire.r, 0.5f) << "fire " << fire.r << " " << fire.g << " " << fire.b;
    EXPECT_GT(fire.r, 2.0f * fire.g) << "fire " << fire.r << " " << fire.g << " " << fire.b;
    EXPECT_GT(fire.g, fire.b) << "fire " << fire.r << " " << fire.g << " " << fire.b;

    // Nothing of the room covers the window: the depth is the cleared far plane
    // where the sky is drawn, and the sky is not black.
    glm::ivec2 windowPixel;
    ASSERT_TRUE(projectToPixel(OUTSIDE_LEFT_WINDOW, windowPixel)) << "the route starts with the left windows in view";
    EXPECT_GE(readDepth(windowPixel), 0.99999f);
    const glm::vec3 sky = readColour(windowPixel);
    EXPECT_GT(luminance(sky), 0.5f) << "sky " << sky.r << " " << sky.g << " " << sky.b;
    EXPECT_GT(sky.b, sky.r) << "an icy sky, not the fire's glow";
}

TEST_F(SceneTest, SunThroughAWindowLightsTheFloorBeyondTheWallsShadow)
{
    runFrame(0.1f);
    renderView({200.0f, 80.0f, -116.0f}, {110.0f, 0.0f, -116.0f});
    ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    glm::ivec2 sunlit;
    glm::ivec2 shaded;
    ASSERT_TRUE(projectToPixel(SUNLIT_FLOOR, sunlit));
    ASSERT_TRUE(projectToPixel(SHADED_FLOOR, shaded));
    // Both points are the floor itself, not furniture in front of it.
    const glm::vec3 sunColour = readColour(sunlit);
    const glm::vec3 shadeColour = readColour(shaded);
    EXPECT_GT(luminance(sunColour), luminance(shadeColour) + 0.1f)
        << "sunlit " << luminance(sunColour) << ", shaded " << luminance(shadeColour);
}

// The floor in the wall's shadow takes its light from the bake: with a dark
// bake in its place it goes darker. The fire's share follows the flicker.
TEST_F(SceneTest, TheBakeLightsTheShadeAndItsFireShareFollowsTheFlicker)
{
    runFrame(0.1f);
    const glm::vec3 eye(200.0f, 80.0f, -116.0f);
    const float baked = luminance(meanAroundTarget(eye, SHADED_FLOOR, 3));
    TempDir dir;
    LightVolume dark = evenLightVolume();
    std::fill(dark.ambient.begin(), dark.ambient.end(), 0);
    ASSERT_TRUE(writeLightVolume(dir.path + "/dark.bake", dark));
    LightVolumeTexture* const bake = scene.lightVolume;
    scene.lightVolume = new LightVolumeTexture(dir.path + "/dark.bake");
    const float unbaked = luminance(meanAroundTarget(eye, SHADED_FLOOR, 3));
    delete scene.lightVolume;
    scene.lightVolume = bake;
    EXPECT_GT(baked, 1.3f * unbaked + 0.02f) << "baked " << baked << ", dark " << unbaked;

    const glm::vec3 hearthEye(layout::FIREPLACE_X, 60.0f, -110.0f);
    const glm::vec3 hearth(layout::FIREPLACE_X + 12.0f, layout::HEARTH_HEIGHT, -16.0f);
    scene.flicker = 0.0f;
    const float calm = meanAroundTarget(hearthEye, hearth, 3).r;
    scene.flicker = 15.0f;
    const float flaring = meanAroundTarget(hearthEye, hearth, 3).r;
    scene.flicker = 0.0f;
    EXPECT_GT(flaring, calm + 0.01f) << "calm " << calm << ", flaring " << flaring;
}

TEST_F(SceneTest, WithoutCullingEveryMeshIsDrawnAndCounted)
{
    runFrame(0.1f);
    scene.frustum->cullingEnabled = false;
    renderView({420.0f, 60.0f, -20.0f}, {440.0f, 60.0f, 0.0f});
    EXPECT_EQ(scene.objectsRendered, meshCount());
    EXPECT_GT(meshCount(), 0);
}

TEST_F(SceneTest, AViewIntoACornerDrawsFewerMeshesThanOneIntoTheRoom)
{
    runFrame(0.1f);
    scene.frustum->cullingEnabled = true;
    renderView({400.0f, 100.0f, -150.0f}, {200.0f, 40.0f, -60.0f});
    const int intoTheRoom = scene.objectsRendered;
    renderView({410.0f, 70.0f, -10.0f}, {430.0f, 70.0f, 10.0f});
    const int intoACorner = scene.objectsRendered;
    EXPECT_LT(intoACorner, intoTheRoom);
    EXPECT_GT(intoACorner, 0) << "the walls of the corner are meshes too";
    EXPECT_LT(intoTheRoom, meshCount() + 1);
}

// The darkest furnishings read in their own colour in the room's light, not as
// black silhouettes: the fir's needles, and the sofa's fabric on its backrest
// between the sitting cat and the blanket.
TEST_F(SceneTest, TheFirAndTheSofaAreGreenNotBlack)
{
    struct View {
        const char* what;
        glm::vec3 eye;
        glm::vec3 target;   // a point of the surface, in the middle of the view
        float greenOverRed; // the fire's orange light pulls the sofa's green towards olive
    };
    const View views[] = {
        {"fir needles", {290.0f, 70.0f, -120.0f}, {375.0f, 55.0f, -40.0f}, 1.3f},
        {"sofa fabric", {200.0f, 60.0f, -40.0f}, {200.0f, 36.0f, -121.0f}, 1.1f},
    };
    runFrame(0.1f);
    for (const View& view : views) {
        SCOPED_TRACE(view.what);
        const glm::vec3 c = meanAroundTarget(view.eye, view.target, 12);
        EXPECT_GT(c.g, view.greenOverRed * c.r) << c.r << " " << c.g << " " << c.b;
        EXPECT_GT(c.g, 1.3f * c.b) << c.r << " " << c.g << " " << c.b;
        EXPECT_GT(luminance(c), 0.1f) << c.r << " " << c.g << " " << c.b;
    }
}

// A candle flame gives light rather than takes it: near white and warm in its
// middle, seen from close by, on the mantel and on the side table alike.
TEST_F(SceneTest, CandleFlamesGlowNearWhiteAndWarm)
{
    struct View {
        const char* what;
        glm::vec3 eye;
        glm::vec3 flame; // the middle of the flame, at its widest
    };
    const View views[] = {
        {"mantel", {184.0f, 68.0f, -30.0f}, {184.0f, 68.4f, -16.0f}},
        {"side table", {80.0f, 50.0f, -52.0f}, {68.0f, 47.4f, -42.0f}},
    };
    runFrame(0.1f);
    for (const View& view : views) {
        SCOPED_TRACE(view.what);
        const glm::vec3 c = meanAroundTarget(view.eye, view.flame, 1);
        EXPECT_GT(luminance(c), 0.85f) << c.r << " " << c.g << " " << c.b;
        EXPECT_GT(c.r, c.b + 0.02f) << c.r << " " << c.g << " " << c.b;
        EXPECT_GE(c.g, c.b) << c.r << " " << c.g << " " << c.b;
    }
}

// Every surface of the room gets at least the ambient share of both lights and
// no texture of the scene is black, so no pixel of the room is exactly (0, 0, 0):
// where the diffuse filter fetched outside a mip level, it gave exactly that.
// The views are the route's at these times: the fireplace, the windows by the
// side table, the tree, the windows again, and the chimney breast.
TEST_F(SceneTest, NoSurfaceAlongTheRouteIsPureBlack)
{
    const int routeTenths[] = {100, 250, 450, 620, 920};
    runFrame(0.1f);
    Camera flight(scene.window);
    int flown = 0;
    for (const int tenths : routeTenths) {
        SCOPED_TRACE(testing::Message() << tenths / 10.0 << " s into the route");
        for (; flown < tenths; ++flown)
            flight.update(0.1f);
        renderView(flight.position, flight.center);
        ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        EXPECT_EQ(blackSurfacePixels(), 0);
    }
}

// A row added to the scene's emitters is one more snow emitter: it joins the
// emitters the frame steps and draws and the snow the transparency switch
// reaches, and its flakes appear where it stands and nowhere else.
TEST_F(SceneTest, AnAddedEmitterRowIsDrawnWhereItStands)
{
    runFrame(0.1f);
    const glm::vec3 eye(250.0f, 60.0f, -80.0f);
    const glm::vec3 flakes(300.0f, 70.0f, -80.0f);
    renderView(eye, flakes);
    const std::vector<unsigned char> before = readFrame();

    const EmitterSettings row{EmitterKind::Snow, flakes, glm::vec3(-1.0f), glm::vec3(1.0f), glm::vec3(0.0f),
                              glm::vec3(1.0f), 5.0f, 5.0f, 2.0f, 0.02f, 5};
    ParticleSystem* added = addEmitter(row);
    EXPECT_EQ(scene.emitters.back(), added);
    EXPECT_EQ(scene.snowParticles.back(), added);
    for (int step = 0; step < 5; ++step)
        added->update(0.1f);
    renderView(eye, flakes);
    const std::vector<unsigned char> after = readFrame();
    scene.emitters.pop_back();
    scene.snowParticles.pop_back();
    delete added;

    glm::ivec2 centre;
    ASSERT_TRUE(projectToPixel(flakes, centre));
    int brightened = 0;
    for (int y = 0; y < scene.windowHeight; ++y)
        for (int x = 0; x < scene.windowWidth; ++x) {
            const int i = 3 * (y * scene.windowWidth + x);
            if (std::equal(&before[i], &before[i + 3], &after[i]))
                continue;
            EXPECT_LT(glm::length(glm::vec2(x - centre.x, y - centre.y)), 40.0f) << "pixel " << x << ", " << y;
            brightened += after[i] > before[i] + 40;
        }
    EXPECT_GT(brightened, 50);
}
