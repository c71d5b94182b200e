// The scale-up quad's program and its empty vertex array. The texture unit is
// the first, which the scene's own textures take anew at every draw.
#include "render/scale_up_quad.h"

#include "render/gl_label.h"

namespace {

constexpr int IMAGE_UNIT = 0;

} // namespace

ScaleUpQuad::ScaleUpQuad()
    : vertex("Shader/scale_up.vert", GL_VERTEX_SHADER)
    , fragment("Shader/scale_up.frag", GL_FRAGMENT_SHADER)
    , program({&vertex, &fragment})
{
    program.link();
    labelObject(GL_PROGRAM, program.id, "scale-up quad");
    glUseProgram(program.id);
    program.setInt("scaledScene", IMAGE_UNIT);
    glUseProgram(0);

    glGenVertexArrays(1, &vao);
    glBindVertexArray(vao);
    labelObject(GL_VERTEX_ARRAY, vao, "scale-up quad");
    glBindVertexArray(0);
}

ScaleUpQuad::~ScaleUpQuad()
{
    glDeleteVertexArrays(1, &vao);
}

void ScaleUpQuad::draw(GLuint image)
{
    GLint polygonMode[2] = {GL_FILL, GL_FILL};
    glGetIntegerv(GL_POLYGON_MODE, polygonMode);
    const GLboolean depthTest = glIsEnabled(GL_DEPTH_TEST);

    // A wireframe view or the window's depth must not cut into the image.
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glDisable(GL_DEPTH_TEST);
    glUseProgram(program.id);
    glActiveTexture(GL_TEXTURE0 + IMAGE_UNIT);
    glBindTexture(GL_TEXTURE_2D, image);
    glBindVertexArray(vao);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);

    glBindVertexArray(0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glUseProgram(0);
    if (depthTest)
        glEnable(GL_DEPTH_TEST);
    glPolygonMode(GL_FRONT_AND_BACK, static_cast<GLenum>(polygonMode[0]));
}
