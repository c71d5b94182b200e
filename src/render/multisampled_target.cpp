// Both attachments are renderbuffers: the samples are only ever read by the
// resolve blit.
#include "render/multisampled_target.h"

#include "render/gl_label.h"

#include <algorithm>

namespace {

constexpr int WANTED_SAMPLES = 4;

void makeStorage(GLuint renderbuffer, int samples, GLenum format, int width, int height)
{
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, format, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
}

} // namespace

int targetSamples(int maxSamples)
{
    return std::clamp(maxSamples, 0, WANTED_SAMPLES);
}

MultisampledTarget::~MultisampledTarget()
{
    if (fbo != 0)
        glDeleteFramebuffers(1, &fbo);
    if (colour != 0)
        glDeleteRenderbuffers(1, &colour);
    if (depth != 0)
        glDeleteRenderbuffers(1, &depth);
}

bool MultisampledTarget::bind(int targetWidth, int targetHeight, GLuint fallback)
{
    if (fbo == 0) {
        GLint maxSamples = 0;
        glGetIntegerv(GL_MAX_SAMPLES, &maxSamples);
        samples = targetSamples(maxSamples);
        if (samples < 2)
            return false;
        glGenFramebuffers(1, &fbo);
        glGenRenderbuffers(1, &colour);
        glGenRenderbuffers(1, &depth);
        glBindFramebuffer(GL_FRAMEBUFFER, fbo);
        labelObject(GL_FRAMEBUFFER, fbo, "multisampled scene framebuffer");
        glBindRenderbuffer(GL_RENDERBUFFER, colour);
        labelObject(GL_RENDERBUFFER, colour, "multisampled scene colour");
        glBindRenderbuffer(GL_RENDERBUFFER, depth);
        labelObject(GL_RENDERBUFFER, depth, "multisampled scene depth");
        glBindRenderbuffer(GL_RENDERBUFFER, 0);
    }
    if (samples < 2)
        return false;
    glBindFramebuffer(GL_FRAMEBUFFER, fbo);
    if (targetWidth != width || targetHeight != height) {
        makeStorage(colour, samples, GL_RGBA8, targetWidth, targetHeight);
        makeStorage(depth, samples, GL_DEPTH_COMPONENT24, targetWidth, targetHeight);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
        width = targetWidth;
        height = targetHeight;
    }
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        glBindFramebuffer(GL_FRAMEBUFFER, fallback);
        return false;
    }
    glViewport(0, 0, width, height);
    return true;
}

void MultisampledTarget::resolve(GLuint destination) const
{
    glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, destination);
    glBlitFramebuffer(0, 0, width, height, 0, 0, width, height, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glBindFramebuffer(GL_FRAMEBUFFER, destination);
}
