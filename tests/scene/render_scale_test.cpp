// The scene drawn smaller and scaled up: at full scale nothing of it is made and
// the frame is drawn straight to the window; below it the picture stays close to
// the full-size one, and the overlay, drawn after the scale-up, stays as sharp.
#include "scene_fixture.h"

#include "app/scene_state.h"
#include "camera/camera.h"
#include "camera/overlay.h"
#include "render/scaled_target_set.h"

#include <GL/glew.h>

#include <cmath>
#include <cstddef>
#include <vector>

namespace {

using Frame = std::vector<unsigned char>;

Frame readFrame()
{
    Frame pixels(static_cast<std::size_t>(scene.windowWidth) * scene.windowHeight * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, scene.windowWidth, scene.windowHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// The route's current view at `scale`, with the pause label over it or not.
Frame frameAt(float scale, bool label)
{
    scene.renderScale = scale;
    renderView(scene.camera->position, scene.camera->center);
    if (label) {
        scene.settings.pauseShown = 0.0;
        drawOverlay(0.0);
    }
    scene.renderScale = 1.0f;
    return readFrame();
}

double psnr(const Frame& a, const Frame& b)
{
    double squares = 0.0;
    for (std::size_t i = 0; i < a.size(); ++i)
        squares += (a[i] - b[i]) * (a[i] - b[i]);
    return 10.0 * std::log10(255.0 * 255.0 * a.size() / squares);
}

// The bytes of the pixels the label changed.
std::vector<std::size_t> labelBytes(const Frame& without, const Frame& with)
{
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < with.size(); ++i)
        if (with[i] != without[i])
            changed.push_back(i);
    return changed;
}

} // namespace

TEST_F(SceneTest, AtFullScaleTheFrameIsDrawnStraightToTheWindow)
{
    runFrame(0.1f);
    delete scene.scaledTargets;
    scene.scaledTargets = nullptr;
    const Frame direct = frameAt(1.0f, false);
    EXPECT_EQ(scene.scaledTargets, nullptr) << "no offscreen target at full scale";

    frameAt(0.6f, false);
    ASSERT_NE(scene.scaledTargets, nullptr);
    EXPECT_TRUE(frameAt(1.0f, false) == direct) << "back at full scale, the picture is the one drawn before";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// At this small window a pixel carries more of the scene's detail than at full
// HD (where 0.6 measured about 34 dB): here the linear scale-up measures about
// 29 dB. 26 dB leaves room for changes to the shading, while a scale-up stretched
// only a few rows off falls to about 20 dB. The filter itself is checked with the
// target's own tests.
TEST_F(SceneTest, ASmallerScaleKeepsThePictureAndTheOverlaySharp)
{
    runFrame(0.1f); // the fireplace, the sky through the windows, brick and wood
    const Frame full = frameAt(1.0f, false);
    const Frame fullLabelled = frameAt(1.0f, true);
    const Frame scaled = frameAt(0.6f, false);
    const Frame scaledLabelled = frameAt(0.6f, true);
    ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    EXPECT_FALSE(scaled == full) << "the scene was not drawn smaller";
    EXPECT_GE(psnr(full, scaled), 26.0);

    const std::vector<std::size_t> textFull = labelBytes(full, fullLabelled);
    const std::vector<std::size_t> textScaled = labelBytes(scaled, scaledLabelled);
    EXPECT_GT(textFull.size(), 100u) << "the label was drawn";
    for (const std::vector<std::size_t>& text : {textFull, textScaled})
        for (const std::size_t byte : text)
            ASSERT_EQ(scaledLabelled[byte], fullLabelled[byte]) << "label pixel " << byte / 3;
}
