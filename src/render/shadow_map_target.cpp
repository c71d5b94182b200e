// Depth textures are sampled through shadow samplers, hence the compare mode on
// both; the cube map is attached as a whole so one layered draw fills all faces.
#include "render/shadow_map_target.h"

#include "render/gl_label.h"

#include <cstdio>

namespace {

// Reports an incomplete framebuffer; the caller leaves it bound.
bool checkFramebuffer()
{
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    if (status == GL_FRAMEBUFFER_COMPLETE)
        return true;
    std::printf("FB error, status: 0x%x\n", status);
    std::fflush(stdout);
    return false;
}

void setDepthCompare(GLenum target)
{
    glTexParameteri(target, GL_TEXTURE_COMPARE_MODE, GL_COMPARE_REF_TO_TEXTURE);
    glTexParameteri(target, GL_TEXTURE_COMPARE_FUNC, GL_LEQUAL);
}

// Attaches the whole of `depth` as the framebuffer's only buffer. It is bound
// for drawing and for reading alike: the read buffer set here belongs to the
// framebuffer bound for reading, which would otherwise be the window's. A
// complete framebuffer is unbound again; an incomplete one is reported and
// stays bound.
bool attachDepthOnly(GLuint fbo, const char* label, GLuint depth)
{
    glBindFramebuffer(GL_FRAMEBUFFER, fbo);
    labelObject(GL_FRAMEBUFFER, fbo, label);
    glFramebufferTexture(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, depth, 0);
    glDrawBuffer(GL_NONE);
    glReadBuffer(GL_NONE);
    if (!checkFramebuffer())
        return false;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return true;
}

} // namespace

ShadowMapTarget::~ShadowMapTarget()
{
    if (directionalFbo != 0)
        glDeleteFramebuffers(1, &directionalFbo);
    if (pointFbo != 0)
        glDeleteFramebuffers(1, &pointFbo);
    if (directionalDepth != 0)
        glDeleteTextures(1, &directionalDepth);
    if (pointDepthCube != 0)
        glDeleteTextures(1, &pointDepthCube);
}

bool ShadowMapTarget::initDirectional()
{
    glGenFramebuffers(1, &directionalFbo);
    glGenTextures(1, &directionalDepth);
    glBindTexture(GL_TEXTURE_2D, directionalDepth);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT24, SHADOW_MAP_SIZE, SHADOW_MAP_SIZE, 0,
                 GL_DEPTH_COMPONENT, GL_FLOAT, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    setDepthCompare(GL_TEXTURE_2D);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glBindTexture(GL_TEXTURE_2D, 0);
    labelObject(GL_TEXTURE, directionalDepth, "directional shadow depth");
    return attachDepthOnly(directionalFbo, "directional shadow framebuffer", directionalDepth);
}

bool ShadowMapTarget::initPoint()
{
    glGenFramebuffers(1, &pointFbo);
    glGenTextures(1, &pointDepthCube);
    glBindTexture(GL_TEXTURE_CUBE_MAP, pointDepthCube);
    for (int face = 0; face < 6; ++face)
        glTexImage2D(GL_TEXTURE_CUBE_MAP_POSITIVE_X + face, 0, GL_DEPTH_COMPONENT24, SHADOW_MAP_SIZE,
                     SHADOW_MAP_SIZE, 0, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, nullptr);
    setDepthCompare(GL_TEXTURE_CUBE_MAP);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
    labelObject(GL_TEXTURE, pointDepthCube, "point shadow depth cube");
    // Layered attachment: the geometry stage picks the face per primitive.
    return attachDepthOnly(pointFbo, "point shadow framebuffer", pointDepthCube);
}
