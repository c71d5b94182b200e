// The multisampled colour and depth the high tier draws the scene into, resolved
// afterwards into the window or into the scaled target, whichever comes next.
#pragma once

#include "platform/non_copyable.h"

#include <GL/glew.h>

class MultisampledTarget : NonCopyable {
public:
    ~MultisampledTarget();

    // Binds the target for drawing at this size, with the viewport on all of it;
    // its storage is made again whenever the size differs from the last. False,
    // with `fallback` bound again, when the driver offers no multisampling or the
    // target cannot be completed.
    bool bind(int targetWidth, int targetHeight, GLuint fallback);

    // Averages the samples into the same-sized colour of `destination`, which is
    // left bound for drawing.
    void resolve(GLuint destination) const;

    GLuint fbo = 0;
    GLuint colour = 0; // multisampled RGBA8 renderbuffer
    GLuint depth = 0;  // multisampled 24-bit depth renderbuffer
    int width = 0;
    int height = 0;
    int samples = 0;
};

// The samples a target takes: four, or fewer where the driver offers fewer.
int targetSamples(int maxSamples);
