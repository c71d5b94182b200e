// Renderbuffers rather than textures: the colour is only ever read by the blit.
// The storage is exactly the size drawn: a linear scale-up from part of a larger
// buffer blends in the pixels beyond the part's edge.
#include "render/scaled_target.h"

#include "render/gl_label.h"

#include <algorithm>
#include <cmath>

namespace {

void makeStorage(GLuint renderbuffer, GLenum format, int width, int height)
{
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, format, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
}

} // namespace

ScaledTarget::~ScaledTarget()
{
    if (fbo != 0)
        glDeleteFramebuffers(1, &fbo);
    if (colour != 0)
        glDeleteRenderbuffers(1, &colour);
    if (depth != 0)
        glDeleteRenderbuffers(1, &depth);
}

bool ScaledTarget::bind(int targetWidth, int targetHeight)
{
    if (fbo == 0) {
        glGenFramebuffers(1, &fbo);
        glGenRenderbuffers(1, &colour);
        glGenRenderbuffers(1, &depth);
        glBindFramebuffer(GL_FRAMEBUFFER, fbo);
        labelObject(GL_FRAMEBUFFER, fbo, "scaled scene framebuffer");
        glBindRenderbuffer(GL_RENDERBUFFER, colour);
        labelObject(GL_RENDERBUFFER, colour, "scaled scene colour");
        glBindRenderbuffer(GL_RENDERBUFFER, depth);
        labelObject(GL_RENDERBUFFER, depth, "scaled scene depth");
        glBindRenderbuffer(GL_RENDERBUFFER, 0);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, fbo);
    if (targetWidth != width || targetHeight != height) {
        makeStorage(colour, GL_RGBA8, targetWidth, targetHeight);
        makeStorage(depth, GL_DEPTH_COMPONENT24, targetWidth, targetHeight);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
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

void ScaledTarget::scaleUp(int windowWidth, int windowHeight) const
{
    glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glBlitFramebuffer(0, 0, width, height, 0, 0, windowWidth, windowHeight, GL_COLOR_BUFFER_BIT, GL_LINEAR);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, windowWidth, windowHeight);
}

int scaledEdge(int windowEdge, float scale)
{
    return std::max(1, static_cast<int>(std::lround(windowEdge * static_cast<double>(scale))));
}
