// Drawing the emitters: the camera axes, the GL state the draw leaves behind, and
// frames rendered into an offscreen target and read back as pixels.
#include "particles/particle_system.h"
#include "render/atlas_texture.h"
#include "support/gl_context.h"
#include "support/scene_emitter.h"
#include "support/offscreen_target.h"
#include "support/process.h"
#include "support/test_image.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

const EmitterSettings& FIRE = sceneEmitter(EmitterKind::Fire);

constexpr int SIZE = 128;

// A soft round blob per atlas cell, brightest in the middle, black around it.
std::function<Rgba(int, int)> blobs(int cellSize, Rgba colour)
{
    return [cellSize, colour](int x, int y) {
        const float half = cellSize / 2.0f;
        const float dx = (x % cellSize) + 0.5f - half;
        const float dy = (y % cellSize) + 0.5f - half;
        const float weight = std::max(0.0f, 1.0f - std::sqrt(dx * dx + dy * dy) / half);
        return Rgba{static_cast<unsigned char>(colour[0] * weight), static_cast<unsigned char>(colour[1] * weight),
                    static_cast<unsigned char>(colour[2] * weight), 255};
    };
}

class ParticleRenderTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LESS);
        white = std::make_unique<AtlasTexture>(
            writeTestImage(dir.path + "/white.png", 32, 32, blobs(32, {255, 255, 255, 255})));
        fireAtlas = std::make_unique<AtlasTexture>(
            writeTestImage(dir.path + "/fire.png", 128, 128, blobs(32, {255, 220, 150, 255})), 4, 4);
    }

    void TearDown() override
    {
        glDisable(GL_DEPTH_TEST);
        glUseProgram(0);
        glActiveTexture(GL_TEXTURE0);
    }

    // `count` motionless particles of `colour` `distance` units in front of a
    // camera at the origin, half-way through their one-second life.
    std::unique_ptr<ParticleSystem> cluster(EmitterKind kind, const glm::vec3& colour, int count,
                                            float distance = 5.0f)
    {
        auto system = std::make_unique<ParticleSystem>(white.get());
        EXPECT_TRUE(system->init());
        system->configure({kind, {0, 0, -distance}, glm::vec3(0), glm::vec3(0), glm::vec3(0), colour, 1.0f, 1.0f, 1.0f, 0.5f,
                           count});
        system->update(0.0f);
        system->genCount = 0;
        for (int step = 0; step < 5; ++step)
            system->update(0.1f);
        EXPECT_EQ(system->particleCount, count + 1);
        system->setMatrices(camera, {0, 0, 0}, {0, 0, -1}, {0, 1, 0});
        return system;
    }

    std::unique_ptr<ParticleSystem> redCluster() { return cluster(EmitterKind::Snow, {1, 0, 0}, 20); }

    const glm::mat4 camera = glm::perspective(1.0471976f, 1.0f, 0.1f, 500.0f);
    TempDir dir;
    std::unique_ptr<AtlasTexture> white;
    std::unique_ptr<AtlasTexture> fireAtlas;
};

int count(const std::vector<unsigned char>& pixels, const std::function<bool(const unsigned char*)>& test)
{
    int result = 0;
    for (size_t i = 0; i < pixels.size(); i += 4)
        if (test(&pixels[i]))
            ++result;
    return result;
}

} // namespace

TEST_F(ParticleRenderTest, SetMatricesSpansTheQuadFromTheCameraAxes)
{
    ParticleSystem system(white.get());
    system.setMatrices(camera, {0, 0, 0}, {0, 0, -1}, {0, 1, 0});
    EXPECT_EQ(system.projection, camera);
    EXPECT_EQ(system.view, glm::lookAt(glm::vec3(0), glm::vec3(0, 0, -1), glm::vec3(0, 1, 0)));
    EXPECT_EQ(system.quad1, glm::vec3(1, 0, 0));
    EXPECT_EQ(system.quad2, glm::vec3(0, -1, 0)) << "the second axis points down the screen";

    system.setMatrices(camera, {12, 18, 40}, {20, 18, -4}, {0, 1, 0});
    EXPECT_NEAR(glm::length(system.quad1), 1.0f, 1e-6f);
    EXPECT_NEAR(glm::length(system.quad2), 1.0f, 1e-6f);
    EXPECT_NEAR(glm::dot(system.quad1, system.quad2), 0.0f, 1e-6f);
    EXPECT_LT(system.quad2.y, 0.0f);
}

TEST_F(ParticleRenderTest, RenderRestoresTheStateItChanged)
{
    if (rendererIsZink())
        GTEST_SKIP() << "lavapipe's LLVM crashes compiling this case's particle shader as the process exits";
    auto system = redCluster();
    OffscreenTarget target(SIZE);
    target.clear(0, 0, 0);
    glEnable(GL_BLEND);
    glDepthMask(GL_FALSE);
    glBindTexture(GL_TEXTURE_2D, white->id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);

    system->render();

    GLboolean depthMask = GL_FALSE;
    glGetBooleanv(GL_DEPTH_WRITEMASK, &depthMask);
    EXPECT_EQ(depthMask, GL_TRUE);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    GLint unit = 0, texture = -1, vertexArray = -1, program = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &vertexArray);
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(unit, GL_TEXTURE3);
    EXPECT_EQ(texture, 0);
    EXPECT_EQ(vertexArray, 0);
    EXPECT_EQ(static_cast<GLuint>(program), system->renderProgram.id);

    glBindTexture(GL_TEXTURE_2D, white->id);
    GLint minFilter = 0, magFilter = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_EQ(minFilter, GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(magFilter, GL_LINEAR);

    GLint sampler = -1;
    glGetUniformiv(system->renderProgram.id, glGetUniformLocation(system->renderProgram.id, "gSampler"), &sampler);
    EXPECT_EQ(sampler, 3);
    EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ParticleRenderTest, AnEmitterNeverInitialisedBindsItsTextureAndDrawsNothing)
{
    ParticleSystem system(white.get());
    system.setMatrices(camera, {0, 0, 0}, {0, 0, -1}, {0, 1, 0});
    OffscreenTarget target(SIZE);
    target.clear(0.2f, 0.2f, 0.2f);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, white->id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);

    system.render();

    GLint unit = 0, texture = 0, minFilter = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    EXPECT_EQ(unit, GL_TEXTURE3);
    EXPECT_EQ(static_cast<GLuint>(texture), white->id);
    EXPECT_EQ(minFilter, GL_LINEAR_MIPMAP_LINEAR);
    const std::vector<unsigned char> pixels = target.pixels();
    EXPECT_EQ(count(pixels, [](const unsigned char* p) { return p[0] != 51 || p[1] != 51 || p[2] != 51; }), 0);
    EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));
    glBindTexture(GL_TEXTURE_2D, 0);
}

TEST_F(ParticleRenderTest, BlendingFollowsBlendEnabledAndDepthIsNeverWritten)
{
    auto system = redCluster();
    OffscreenTarget target(SIZE);

    // Over blue, additive red keeps the blue; opaque red replaces it.
    target.clear(0, 0, 1);
    system->render();
    std::vector<unsigned char> blended = target.pixels();
    const int redOverBlue = count(blended, [](const unsigned char* p) { return p[0] > 64 && p[2] == 255; });
    EXPECT_GT(redOverBlue, 20);
    EXPECT_EQ(count(blended, [](const unsigned char* p) { return p[2] < 255; }), 0);

    target.clear(0, 0, 1);
    system->blendEnabled = false;
    system->render();
    std::vector<unsigned char> opaque = target.pixels();
    EXPECT_GT(count(opaque, [](const unsigned char* p) { return p[0] > 200 && p[2] == 0; }), 20);
    EXPECT_EQ(count(opaque, [](const unsigned char* p) { return p[0] > 0 && p[2] > 0; }), 0)
        << "no pixel mixes the sprite with the background";

    const std::vector<float> depths = target.depths();
    EXPECT_EQ(std::count(depths.begin(), depths.end(), 1.0f), SIZE * SIZE) << "sprites test depth but never write it";
    EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ParticleRenderTest, TheFireGlowsAroundItsEmitter)
{
    auto fire = std::make_unique<ParticleSystem>(fireAtlas.get());
    ASSERT_TRUE(fire->init());
    fire->configure(FIRE);
    // Level with the flames, in front of the fire.
    const glm::vec3 eye = FIRE.position + glm::vec3(0, 8, 44);
    const glm::vec3 center = FIRE.position + glm::vec3(0, 8, 0);
    fire->setMatrices(camera, eye, center, {0, 1, 0});
    for (int frame = 0; frame < 60; ++frame)
        fire->update(1.0f / 60.0f);

    OffscreenTarget target(SIZE);
    target.clear(0, 0, 0);
    fire->render();
    const std::vector<unsigned char> pixels = target.pixels();

    const glm::vec4 clip = camera * fire->view * glm::vec4(FIRE.position, 1.0f);
    const int emitterX = static_cast<int>((clip.x / clip.w * 0.5f + 0.5f) * SIZE);
    const int emitterY = static_cast<int>((clip.y / clip.w * 0.5f + 0.5f) * SIZE);
    ASSERT_GT(emitterY, 10);
    int fireColoured = 0;
    for (int y = std::max(emitterY - 8, 0); y < std::min(emitterY + 48, SIZE); ++y)
        for (int x = std::max(emitterX - 24, 0); x < std::min(emitterX + 24, SIZE); ++x) {
            const unsigned char* p = &pixels[(y * SIZE + x) * 4];
            if (p[0] > 64 && p[0] > p[1] && p[1] >= p[2])
                ++fireColoured;
        }
    EXPECT_GT(fireColoured, 100) << "around the emitter at pixel (" << emitterX << ", " << emitterY << ")";
    EXPECT_EQ(count(pixels, [](const unsigned char* p) { return p[2] > p[0]; }), 0) << "nothing bluish in a fire";

    // Flames only rise: the rows well below the emitter stay black.
    for (int y = 0; y < emitterY - 10; ++y)
        for (int x = 0; x < SIZE; ++x)
            ASSERT_EQ(pixels[(y * SIZE + x) * 4], 0) << "pixel (" << x << ", " << y << ")";
    EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));
}

// One white particle drawn as each kind: the texture and the colour are the same,
// so only the kind the program is given can make the stages shape and colour it
// differently. Fire turns a white tint warm, snow stays white and bright, smoke is
// a faint, neutral wisp.
TEST_F(ParticleRenderTest, EachKindReachesTheShadersAndDecidesTheSprite)
{
    struct Case {
        EmitterKind kind;
        int brightestAtLeast; // the brightest channel of any pixel
        int brightestAtMost;
        bool warm;            // some pixel's red exceeds its blue by half the brightest
    };
    const Case cases[] = {
        {EmitterKind::Snow, 150, 255, false},
        {EmitterKind::Fire, 20, 255, true},
        {EmitterKind::Smoke, 1, 16, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        auto system = cluster(c.kind, {1, 1, 1}, 1);
        OffscreenTarget target(SIZE);
        target.clear(0, 0, 0);
        system->render();

        GLint kind = -1;
        glGetUniformiv(system->renderProgram.id, glGetUniformLocation(system->renderProgram.id, "iKind"), &kind);
        EXPECT_EQ(kind, static_cast<int>(c.kind));
        const std::vector<unsigned char> pixels = target.pixels();
        int brightest = 0;
        int warmth = 0;
        for (size_t i = 0; i < pixels.size(); i += 4) {
            brightest = std::max({brightest, int(pixels[i]), int(pixels[i + 1]), int(pixels[i + 2])});
            warmth = std::max(warmth, pixels[i] - pixels[i + 2]);
        }
        EXPECT_GE(brightest, c.brightestAtLeast);
        EXPECT_LE(brightest, c.brightestAtMost);
        if (c.warm)
            EXPECT_GE(2 * warmth, brightest);
        else
            EXPECT_LE(warmth, 2);
        EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

// A sprite far enough to be held at its few pixels' width is held at them in
// whatever it is drawn into: a target four times as tall shows it on about as
// many pixels, not sixteen times as many.
TEST_F(ParticleRenderTest, AFarSpriteKeepsItsFewPixelsAtAnyViewportHeight)
{
    auto system = cluster(EmitterKind::Snow, {1, 1, 1}, 1, 400.0f);
    int lit[2] = {};
    const int sizes[2] = {SIZE, 4 * SIZE};
    for (int i = 0; i < 2; ++i) {
        OffscreenTarget target(sizes[i]);
        target.clear(0, 0, 0);
        system->render();
        lit[i] = count(target.pixels(), [](const unsigned char* p) { return std::max({p[0], p[1], p[2]}) > 8; });
    }
    EXPECT_GE(lit[0], 1);
    EXPECT_LE(std::abs(lit[1] - lit[0]), 2) << lit[0] << " pixels at " << SIZE << " lines, " << lit[1] << " at "
                                            << 4 * SIZE;
}
