// The fade: black over the viewport, blended by its alpha, on the scale-up's
// quad, which covers the viewport from the vertex index alone.
#include "ambient/fade_to_black.h"

#include "render/gl_label.h"

FadeToBlack::FadeToBlack()
    : vertex("Shader/scale_up.vert", GL_VERTEX_SHADER)
    , fragment("Shader/fade.frag", GL_FRAGMENT_SHADER)
    , program({&vertex, &fragment})
{
    program.link();
    labelObject(GL_PROGRAM, program.id, "fade to black");
    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    labelObject(GL_VERTEX_ARRAY, vertexArray, "fade quad");
    glBindVertexArray(0);
}

FadeToBlack::~FadeToBlack()
{
    glDeleteVertexArrays(1, &vertexArray);
}

void FadeToBlack::draw(float brightness) const
{
    if (brightness >= 1.0f)
        return;
    const GLboolean depthTest = glIsEnabled(GL_DEPTH_TEST);
    glUseProgram(program.id);
    glUniform1f(glGetUniformLocation(program.id, "darkness"), 1.0f - brightness);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glBindVertexArray(vertexArray);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    glBindVertexArray(0);
    glDisable(GL_BLEND);
    if (depthTest)
        glEnable(GL_DEPTH_TEST);
    glUseProgram(0);
}
