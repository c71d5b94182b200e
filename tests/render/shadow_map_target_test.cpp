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

TEST_F(ShadowMapTargetTest, DirectionalTargetIsCompleteAndComparesDepth)
{
    ShadowMapTarget target;
    ASSERT_TRUE(target.initDirectional());
    EXPECT_EQ(framebufferBinding(GL_DRAW_FRAMEBUFFER_BINDING), 0);
    EXPECT_EQ(framebufferBinding(GL_READ_FRAMEBUFFER_BINDING), 0);

    glBindTexture(GL_TEXTURE_2D, target.directionalDepth);
    EXPECT_EQ(levelParameter(GL_TEXTURE_2D, GL_TEXTURE_INTERNAL_FORMAT), GL_DEPTH_COMPONENT24);
    EXPECT_EQ(levelParameter(GL_TEXTURE_2D, GL_TEXTURE_WIDTH), SHADOW_MAP_SIZE);
    EXPECT_EQ(levelParameter(GL_TEXTURE_2D, GL_TEXTURE_HEIGHT), SHADOW_MAP_SIZE);
    EXPECT_EQ(parameter(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE), GL_COMPARE_REF_TO_TEXTURE);
    EXPECT_EQ(parameter(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_FUNC), GL_LEQUAL);
    EXPECT_EQ(parameter(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(parameter(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(parameter(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(parameter(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T), GL_CLAMP_TO_EDGE);
    glBindTexture(GL_TEXTURE_2D, 0);

    glBindFramebuffer(GL_FRAMEBUFFER, target.directionalFbo);
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    GLint attached = 0;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT,
                                          GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME, &attached);
    EXPECT_EQ(static_cast<GLuint>(attached), target.directionalDepth);
    GLint drawBuffer = -1;
    glGetIntegerv(GL_DRAW_BUFFER, &drawBuffer);
    EXPECT_EQ(drawBuffer, GL_NONE) << "no colour buffer";
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ShadowMapTargetTest, PointTargetIsALayeredCompleteCube)
{
    ShadowMapTarget target;
    ASSERT_TRUE(target.initPoint());
    EXPECT_EQ(framebufferBinding(GL_DRAW_FRAMEBUFFER_BINDING), 0);
    EXPECT_EQ(framebufferBinding(GL_READ_FRAMEBUFFER_BINDING), 0);

    glBindTexture(GL_TEXTURE_CUBE_MAP, target.pointDepthCube);
    for (int face = 0; face < 6; ++face) {
        const GLenum faceTarget = GL_TEXTURE_CUBE_MAP_POSITIVE_X + face;
        EXPECT_EQ(levelParameter(faceTarget, GL_TEXTURE_INTERNAL_FORMAT), GL_DEPTH_COMPONENT24) << face;
        EXPECT_EQ(levelParameter(faceTarget, GL_TEXTURE_WIDTH), SHADOW_MAP_SIZE) << face;
    }
    EXPECT_EQ(parameter(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_COMPARE_MODE), GL_COMPARE_REF_TO_TEXTURE);
    EXPECT_EQ(parameter(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_COMPARE_FUNC), GL_LEQUAL);
    EXPECT_EQ(parameter(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(parameter(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_R), GL_CLAMP_TO_EDGE);
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);

    glBindFramebuffer(GL_FRAMEBUFFER, target.pointFbo);
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    GLint layered = GL_FALSE;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT,
                                          GL_FRAMEBUFFER_ATTACHMENT_LAYERED, &layered);
    EXPECT_EQ(layered, GL_TRUE) << "the whole cube is attached, not one face";
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));
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
