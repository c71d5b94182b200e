// Both depth targets against the real driver: completeness, formats, compare
// state, the framebuffer left bound, and what the destructor releases.
#include "render/shadow_map_target.h"
#include "support/gl_context.h"

#include <gtest/gtest.h>

namespace {

class ShadowMapTargetTest : public GlTest {
protected:
    static GLint framebufferBinding(GLenum which)
    {
        GLint name = -1;
        glGetIntegerv(which, &name);
        return name;
    }

    static GLint parameter(GLenum target, GLenum name)
    {
        GLint value = 0;
        glGetTexParameteriv(target, name, &value);
        return value;
    }

    static GLint levelParameter(GLenum target, GLenum name)
    {
        GLint value = 0;
        glGetTexLevelParameteriv(target, 0, name, &value);
        return value;
    }
};

} // namespace

TEST_F(ShadowMapTargetTest, StartsWithNoNames)
{
    const ShadowMapTarget target;
    EXPECT_EQ(target.directionalFbo, 0u);
    EXPECT_EQ(target.directionalDepth, 0u);
    EXPECT_EQ(target.pointDepthCube, 0u);
    EXPECT_EQ(target.pointFbo, 0u);
}

// Each target on its own: complete, the default framebuffer bound again, and
// its depth texture in the format and with the compare state the shaders' shadow
// samplers need, clamped, attached whole as the only buffer.
TEST_F(ShadowMapTargetTest, EachTargetIsACompleteDepthOnlyFramebufferThatComparesDepth)
{
    struct Case {
        const char* what;
        bool (ShadowMapTarget::*init)();
        GLenum texture;    // the target its depth texture binds to
        GLenum firstLevel; // where its first image is asked about
        int images;        // one, or a cube's six faces
        GLint layered;
    };
    const Case cases[] = {
        {"directional", &ShadowMapTarget::initDirectional, GL_TEXTURE_2D, GL_TEXTURE_2D, 1, GL_FALSE},
        {"point", &ShadowMapTarget::initPoint, GL_TEXTURE_CUBE_MAP, GL_TEXTURE_CUBE_MAP_POSITIVE_X, 6, GL_TRUE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ShadowMapTarget target;
        ASSERT_TRUE((target.*c.init)());
        EXPECT_EQ(framebufferBinding(GL_DRAW_FRAMEBUFFER_BINDING), 0);
        EXPECT_EQ(framebufferBinding(GL_READ_FRAMEBUFFER_BINDING), 0);
        GLint windowReadBuffer = -1;
        glGetIntegerv(GL_READ_BUFFER, &windowReadBuffer);
        EXPECT_EQ(windowReadBuffer, GL_BACK) << "the window's read buffer is left as it was";
        const bool cube = c.texture == GL_TEXTURE_CUBE_MAP;
        const GLuint depth = cube ? target.pointDepthCube : target.directionalDepth;

        glBindTexture(c.texture, depth);
        for (int image = 0; image < c.images; ++image) {
            const GLenum level = c.firstLevel + static_cast<GLenum>(image);
            EXPECT_EQ(levelParameter(level, GL_TEXTURE_INTERNAL_FORMAT), GL_DEPTH_COMPONENT24) << image;
            EXPECT_EQ(levelParameter(level, GL_TEXTURE_WIDTH), SHADOW_MAP_SIZE) << image;
            EXPECT_EQ(levelParameter(level, GL_TEXTURE_HEIGHT), SHADOW_MAP_SIZE) << image;
        }
        EXPECT_EQ(parameter(c.texture, GL_TEXTURE_COMPARE_MODE), GL_COMPARE_REF_TO_TEXTURE);
        EXPECT_EQ(parameter(c.texture, GL_TEXTURE_COMPARE_FUNC), GL_LEQUAL);
        EXPECT_EQ(parameter(c.texture, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
        EXPECT_EQ(parameter(c.texture, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
        EXPECT_EQ(parameter(c.texture, GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
        EXPECT_EQ(parameter(c.texture, GL_TEXTURE_WRAP_T), GL_CLAMP_TO_EDGE);
        if (cube) {
            EXPECT_EQ(parameter(c.texture, GL_TEXTURE_WRAP_R), GL_CLAMP_TO_EDGE);
        }
        glBindTexture(c.texture, 0);

        glBindFramebuffer(GL_FRAMEBUFFER, cube ? target.pointFbo : target.directionalFbo);
        EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
        GLint attached = 0;
        glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT,
                                              GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME, &attached);
        EXPECT_EQ(static_cast<GLuint>(attached), depth);
        GLint layered = -1;
        glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT,
                                              GL_FRAMEBUFFER_ATTACHMENT_LAYERED, &layered);
        EXPECT_EQ(layered, c.layered) << "a cube is attached whole, not one face";
        GLint drawBuffer = -1;
        glGetIntegerv(GL_DRAW_BUFFER, &drawBuffer);
        EXPECT_EQ(drawBuffer, GL_NONE) << "no colour buffer";
        GLint readBuffer = -1;
        glGetIntegerv(GL_READ_BUFFER, &readBuffer);
        EXPECT_EQ(readBuffer, GL_NONE);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

TEST_F(ShadowMapTargetTest, DestructorDeletesOnlyWhatWasCreated)
{
    // Objects that belong to someone else must survive the target.
    GLuint otherTexture = 0;
    GLuint otherFbo = 0;
    glGenTextures(1, &otherTexture);
    glBindTexture(GL_TEXTURE_2D, otherTexture);
    glBindTexture(GL_TEXTURE_2D, 0);
    glGenFramebuffers(1, &otherFbo);
    glBindFramebuffer(GL_FRAMEBUFFER, otherFbo);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);

    GLuint fbo = 0;
    GLuint depth = 0;
    {
        ShadowMapTarget target;
        ASSERT_TRUE(target.initDirectional());
        fbo = target.directionalFbo;
        depth = target.directionalDepth;
        EXPECT_EQ(glIsFramebuffer(fbo), GL_TRUE);
        EXPECT_EQ(glIsTexture(depth), GL_TRUE);
    }
    EXPECT_EQ(glIsFramebuffer(fbo), GL_FALSE);
    EXPECT_EQ(glIsTexture(depth), GL_FALSE);
    EXPECT_EQ(glIsFramebuffer(otherFbo), GL_TRUE);
    EXPECT_EQ(glIsTexture(otherTexture), GL_TRUE);

    { const ShadowMapTarget unused; }
    EXPECT_EQ(glIsFramebuffer(otherFbo), GL_TRUE);
    EXPECT_EQ(glIsTexture(otherTexture), GL_TRUE);
    EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));

    glDeleteFramebuffers(1, &otherFbo);
    glDeleteTextures(1, &otherTexture);
}
