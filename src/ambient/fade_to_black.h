// Darkening the finished frame towards black, for the fades around the cut.
#pragma once

#include "render/shader.h"
#include "render/shader_program.h"

#include <GL/glew.h>

class FadeToBlack {
public:
    // Builds its program from the fade shaders in Shader/; needs a current context.
    FadeToBlack();
    ~FadeToBlack();
    FadeToBlack(const FadeToBlack&) = delete;
    FadeToBlack& operator=(const FadeToBlack&) = delete;

    // Scales the whole viewport's colour by `brightness` (1 leaves the frame as
    // it is, 0 makes it black). Depth testing stays on, blending off, as the
    // scene's passes expect them.
    void draw(float brightness) const;

    Shader vertex;
    Shader fragment;
    ShaderProgram program;
    GLuint vertexArray = 0; // empty: the vertex stage makes its own corners
};
