// The sky faces as the program shows them: decoded through the loader, mapped by
// the GL cube-map rules and the sky sphere's half turn, upright and seamless.
#include "sky_cube_lookup.h"
#include "media_sky_landscape.h"
#include "media_random.h"

#include <gtest/gtest.h>

#include <glm/geometric.hpp>
#include <glm/trigonometric.hpp>

#include <cmath>

namespace {

const std::string skyDirectory = "Assets/skybox";

float luminance(const glm::vec3& c)
{
    return 0.2126f * c.r + 0.7152f * c.g + 0.0722f * c.b;
}

glm::vec3 atElevation(float azimuthDegrees, float elevationDegrees)
{
    const float a = glm::radians(azimuthDegrees), e = glm::radians(elevationDegrees);
    return {std::cos(e) * std::cos(a), std::sin(e), std::cos(e) * std::sin(a)};
}

class SkyFaces : public ::testing::Test {
protected:
    static void SetUpTestSuite() { sky = new SkyCubeLookup(skyDirectory); }
    static void TearDownTestSuite() { delete sky; sky = nullptr; }
    static SkyCubeLookup* sky;
};

SkyCubeLookup* SkyFaces::sky = nullptr;

TEST_F(SkyFaces, AreEqualSquares)
{
    for (const auto& face : sky->faces) {
        EXPECT_EQ(face->width, face->height);
        EXPECT_EQ(face->width, sky->faces[0]->width);
        EXPECT_GE(face->width, 256u);
    }
}

TEST_F(SkyFaces, SkyOverheadAndIceUnderfoot)
{
    const glm::vec3 up = sky->sample({0.0f, 1.0f, 0.0f});
    EXPECT_GT(luminance(up), 0.55f);
    EXPECT_GT(up.b - up.r, 0.3f) << "overhead should be winter-sky blue";

    const glm::vec3 down = sky->sample({0.0f, -1.0f, 0.0f});
    EXPECT_GT(luminance(down), 0.5f);
    EXPECT_LT(down.b - down.r, 0.25f) << "underfoot should be pale ice, not sky";
}

// Level horizon: all round, well above it is sky and well below it is ice.
TEST_F(SkyFaces, HorizonIsLevelAllRound)
{
    for (float azimuth = 0.0f; azimuth < 360.0f; azimuth += 15.0f) {
        const glm::vec3 high = sky->sample(atElevation(azimuth, 60.0f));
        const glm::vec3 low = sky->sample(atElevation(azimuth, -20.0f));
        EXPECT_GT(high.b - high.r, 0.15f) << "azimuth " << azimuth;
        EXPECT_LT(low.b - low.r, 0.25f) << "azimuth " << azimuth;
        EXPECT_GT(high.b - high.r, low.b - low.r) << "azimuth " << azimuth;
    }
}

// The painted sun sits low towards -x, where the sun light comes from; a mirrored
// or turned face set would put it elsewhere.
TEST_F(SkyFaces, LowSunTowardsMinusX)
{
    const glm::vec3 sun = sky->sample(skySunDirection());
    EXPECT_GT(sun.r, 0.95f);
    EXPECT_GT(sun.g, 0.95f);
    EXPECT_GT(sun.b, 0.95f);
    for (float azimuth = 30.0f; azimuth < 331.0f; azimuth += 30.0f) {
        const glm::vec3 d = atElevation(180.0f + azimuth, skySunElevationDegrees);
        EXPECT_LT(luminance(sky->sample(d)), luminance(sun) - 0.05f) << "azimuth " << azimuth;
    }
}

// Everywhere, the sky shows the landscape painted for that world direction
// (mountains on the horizon included), within JPEG and texel error.
TEST_F(SkyFaces, ShowTheLandscapeOfEveryDirection)
{
    MediaRandom random(7);
    double total = 0.0;
    int far = 0;
    const int samples = 3000;
    for (int i = 0; i < samples; ++i) {
        const glm::vec3 d = glm::normalize(glm::vec3(random.signedUnit(), random.signedUnit(), random.signedUnit()));
        const glm::vec3 difference = glm::abs(sky->sample(d) - skyLandscapeColour(d));
        const float error = (difference.r + difference.g + difference.b) / 3.0f;
        total += error;
        far += error > 0.12f ? 1 : 0;
    }
    EXPECT_LT(total / samples, 0.03);
    EXPECT_LT(far, samples / 100);
}

// Across every cube edge, the texels on either side show nearly the same colour
// all along it. A single pair may straddle the outline of a fir; a face turned or
// mirrored the wrong way shows along its whole edge.
TEST_F(SkyFaces, ContinuousAcrossEveryFaceEdge)
{
    const float texel = 2.0f / static_cast<float>(sky->faces[0]->width);
    double total = 0.0;
    double worstEdge = 0.0;
    int pairs = 0;
    for (int a = 0; a < 3; ++a) {
        for (int b = a + 1; b < 3; ++b) {
            const int c = 3 - a - b;
            for (float sa : {-1.0f, 1.0f}) {
                for (float sb : {-1.0f, 1.0f}) {
                    double edge = 0.0;
                    int along = 0;
                    for (float u = -0.95f; u <= 0.95f; u += 0.05f, ++along) {
                        glm::vec3 onA(0.0f), onB(0.0f);
                        onA[a] = sa;
                        onA[b] = sb * (1.0f - texel);
                        onB[a] = sa * (1.0f - texel);
                        onB[b] = sb;
                        onA[c] = onB[c] = u;
                        const glm::vec3 difference = glm::abs(sky->sample(onA) - sky->sample(onB));
                        edge += (difference.r + difference.g + difference.b) / 3.0f;
                    }
                    total += edge;
                    pairs += along;
                    worstEdge = std::max(worstEdge, edge / along);
                }
            }
        }
    }
    EXPECT_LT(total / pairs, 0.02);
    EXPECT_LT(worstEdge, 0.04);
}

} // namespace
