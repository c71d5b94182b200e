// A square colour and depth target for GL tests: bound while it lives, read back
// as pixels.
#pragma once

#include "platform/non_copyable.h"

#include <GL/glew.h>

#include <vector>

class OffscreenTarget : NonCopyable {
public:
    explicit OffscreenTarget(int size);
    ~OffscreenTarget();

    // Clears colour to (r, g, b) and depth to 1; the clear colour is left black.
    void clear(float r, float g, float b);

    // Rows bottom first, 4 bytes a pixel.
    std::vector<unsigned char> pixels() const;
    std::vector<float> depths() const;

    int size = 0;
    GLuint framebuffer = 0;
    GLuint renderbuffers[2] = {}; // RGBA8 colour, 24-bit depth
};
