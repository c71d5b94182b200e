// The smaller scene's image drawn over the window as a textured quad: the
// scale-up for a window with several samples per pixel, which a blit from a
// single-sampled target cannot write (anti-aliasing forced in a GPU driver's
// settings gives such a window).
#pragma once

#include "platform/non_copyable.h"
#include "render/shader.h"
#include "render/shader_program.h"

#include <GL/glew.h>

class ScaleUpQuad : NonCopyable {
public:
    ScaleUpQuad();
    ~ScaleUpQuad();

    // Covers the viewport of the bound draw framebuffer with `image`, filtered by
    // its own sampler state. The depth test and the polygon mode stay as they
    // were; no program, vertex array or texture is left bound.
    void draw(GLuint image);

    Shader vertex;
    Shader fragment;
    ShaderProgram program;
    GLuint vao = 0; // no attributes: the stage makes the corners
};
