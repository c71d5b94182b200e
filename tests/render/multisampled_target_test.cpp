// The multisampled scene target against the real driver: a slanted edge drawn
// into it resolves to partly covered pixels along the edge, the inside and the
// outside staying whole, at every size it is bound at.
#include "render/multisampled_target.h"
#include "render/scaled_target.h"
#include "support/gl_context.h"

#include <gtest/gtest.h>

#include <array>

namespace {

std::array<unsigned char, 4> pixel(GLuint fbo, int x, int y)
{
    std::array<unsigned char, 4> rgba{};
    glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

// White below the diagonal from the lower left to the upper right corner, black above.
void drawLowerTriangle()
{
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glUseProgram(0);
    glDisable(GL_DEPTH_TEST);
    glColor3f(1.0f, 1.0f, 1.0f);
    glBegin(GL_TRIANGLES);
    glVertex2f(-1.0f, -1.0f);
    glVertex2f(1.0f, -1.0f);
    glVertex2f(1.0f, 1.0f);
    glEnd();
}

} // namespace

using MultisampledTargetTest = GlTest;

TEST_F(MultisampledTargetTest, ASlantedEdgeResolvesToPartlyCoveredPixels)
{
    MultisampledTarget target;
    ScaledTarget resolved;
    for (const int edge : {64, 96}) {
        SCOPED_TRACE(edge);
        ASSERT_TRUE(resolved.bind(edge, edge));
        if (!target.bind(edge, edge, resolved.fbo))
            GTEST_SKIP() << "the renderer offers no multisampling";
        EXPECT_EQ(target.samples, 4);
        drawLowerTriangle();
        target.resolve(resolved.fbo);
        int partial = 0;
        for (int x = 0; x < edge; ++x) {
            const unsigned char onEdge = pixel(resolved.fbo, x, x)[0];
            partial += onEdge > 0 && onEdge < 255 ? 1 : 0;
        }
        EXPECT_GT(partial, edge / 2) << "a single sample a pixel leaves the edge stepped";
        EXPECT_EQ(pixel(resolved.fbo, edge - 2, 1)[0], 255) << "inside";
        EXPECT_EQ(pixel(resolved.fbo, 1, edge - 2)[0], 0) << "outside";
        EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glEnable(GL_DEPTH_TEST);
}
