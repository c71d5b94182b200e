// Darkening the finished frame towards black, for the fades around the cut.
#pragma once

#include "platform/non_copyable.h"
#include "render/shader.h"
#include "render/shader_program.h"

#include <GL/glew.h>

class FadeToBlack : NonCopyable {
public:
    // Builds its program from the scale-up's vertex stage and the fade's
    // fragment stage in Shader/; needs a current context.
    FadeToBlack();
    ~FadeToBlack();

    // Scales the whole viewport's colour by `brightness` (1 leaves the frame as
    // it is, 0 makes it black). The depth test stays as it was and blending
    // off, as the scene's passes leave it; no program or vertex array is left
    // bound.
    void draw(float brightness) const;

    Shader vertex;
    Shader fragment;
    ShaderProgram program;
    GLuint vertexArray = 0; // empty: the vertex stage makes the quad's corners
};
