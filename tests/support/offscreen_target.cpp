// The test target's renderbuffers and read-back.
#include "support/offscreen_target.h"

OffscreenTarget::OffscreenTarget(int size)
    : size(size)
{
    glGenFramebuffers(1, &framebuffer);
    glGenRenderbuffers(2, renderbuffers);
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers[0]);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, size, size);
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers[1]);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, size, size);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, renderbuffers[0]);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, renderbuffers[1]);
    glViewport(0, 0, size, size);
}

OffscreenTarget::~OffscreenTarget()
{
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteRenderbuffers(2, renderbuffers);
    glDeleteFramebuffers(1, &framebuffer);
}

void OffscreenTarget::clear(float r, float g, float b)
{
    glClearColor(r, g, b, 1.0f);
    glClearDepth(1.0);
    glDepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
}

std::vector<unsigned char> OffscreenTarget::pixels() const
{
    std::vector<unsigned char> data(static_cast<std::size_t>(size) * size * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, size, size, GL_RGBA, GL_UNSIGNED_BYTE, data.data());
    return data;
}

std::vector<float> OffscreenTarget::depths() const
{
    std::vector<float> data(static_cast<std::size_t>(size) * size);
    glReadPixels(0, 0, size, size, GL_DEPTH_COMPONENT, GL_FLOAT, data.data());
    return data;
}
