// The colour is a texture, which both the blit and the quad can read; the depth,
// never read, a renderbuffer. The storage is exactly the size drawn: a linear
// scale-up from part of a larger buffer blends in the pixels beyond the part's edge.
#include "render/scaled_target.h"

#include "render/gl_label.h"

#include <algorithm>
#include <cmath>

namespace {

void makeDepthStorage(GLuint renderbuffer, int width, int height)
{
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
}

// One level, filtered linearly and clamped, as the blit filters: the quad then
// samples exactly what the blit reads.
void makeColourStorage(GLuint texture, int width, int height)
{
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glBindTexture(GL_TEXTURE_2D, 0);
}

} // namespace

ScaledTarget::~ScaledTarget()
{
    if (fbo != 0)
        glDeleteFramebuffers(1, &fbo);
    if (colour != 0)
        glDeleteTextures(1, &colour);
    if (depth != 0)
        glDeleteRenderbuffers(1, &depth);
}

bool ScaledTarget::bind(int targetWidth, int targetHeight)
{
    if (fbo == 0) {
        glGenFramebuffers(1, &fbo);
        glGenTextures(1, &colour);
        glGenRenderbuffers(1, &depth);
        glBindFramebuffer(GL_FRAMEBUFFER, fbo);
        labelObject(GL_FRAMEBUFFER, fbo, "scaled scene framebuffer");
        glBindTexture(GL_TEXTURE_2D, colour);
        labelObject(GL_TEXTURE, colour, "scaled scene colour");
        glBindTexture(GL_TEXTURE_2D, 0);
        glBindRenderbuffer(GL_RENDERBUFFER, depth);
        labelObject(GL_RENDERBUFFER, depth, "scaled scene depth");
        glBindRenderbuffer(GL_RENDERBUFFER, 0);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, fbo);
    if (targetWidth != width || targetHeight != height) {
        makeColourStorage(colour, targetWidth, targetHeight);
        makeDepthStorage(depth, targetWidth, targetHeight);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour, 0);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
        width = targetWidth;
        height = targetHeight;
    }
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        return false;
    }
    glViewport(0, 0, width, height);
    return true;
}

void ScaledTarget::scaleUp(int windowWidth, int windowHeight)
{
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, windowWidth, windowHeight);
    // A blit from a single-sampled framebuffer into a multisampled one is an
    // invalid operation, which would leave the window without the scene.
    GLint windowSamples = 0;
    glGetIntegerv(GL_SAMPLES, &windowSamples);
    if (windowSamples > 0) {
        if (!quad)
            quad = std::make_unique<ScaleUpQuad>();
        quad->draw(colour);
        return;
    }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo);
    glBlitFramebuffer(0, 0, width, height, 0, 0, windowWidth, windowHeight, GL_COLOR_BUFFER_BIT, GL_LINEAR);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
}

int scaledEdge(int windowEdge, float scale)
{
    return std::max(1, static_cast<int>(std::lround(windowEdge * static_cast<double>(scale))));
}
