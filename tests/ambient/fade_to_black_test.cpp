// The fade against the real driver: every pixel of the frame scaled by the
// brightness, from untouched to black, and the state the scene's passes expect
// left behind.
#include "ambient/fade_to_black.h"
#include "support/gl_context.h"
#include "support/offscreen_target.h"

#include <gtest/gtest.h>

#include <algorithm>

using FadeToBlackTest = GlTest;

TEST_F(FadeToBlackTest, ScalesEveryPixelByTheBrightness)
{
    constexpr int SIZE = 32;
    const FadeToBlack fade;
    OffscreenTarget target(SIZE);
    struct Case {
        float brightness;
        int red; // of a clear to 200 / 255
    };
    for (const Case c : {Case{1.0f, 200}, Case{0.5f, 100}, Case{0.0f, 0}}) {
        SCOPED_TRACE(c.brightness);
        target.clear(200.0f / 255.0f, 0.0f, 0.0f);
        glEnable(GL_DEPTH_TEST);
        fade.draw(c.brightness);
        const std::vector<unsigned char> pixels = target.pixels();
        for (std::size_t i = 0; i < pixels.size(); i += 4)
            ASSERT_NEAR(pixels[i], c.red, 1) << "pixel " << i / 4;
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
        EXPECT_FALSE(glIsEnabled(GL_BLEND));
    }
    EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));
}
