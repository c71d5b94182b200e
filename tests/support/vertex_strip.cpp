// A one-off triangle strip in the lit pass's vertex layout.
#include "support/vertex_strip.h"

#include <GL/glew.h>

void drawVertexStrip(const float* vertices, size_t floatCount)
{
    GLuint vao = 0;
    GLuint vbo = 0;
    glGenVertexArrays(1, &vao);
    glBindVertexArray(vao);
    glGenBuffers(1, &vbo);
    glBindBuffer(GL_ARRAY_BUFFER, vbo);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(floatCount * sizeof(float)), vertices, GL_STATIC_DRAW);
    for (GLuint attribute = 0; attribute < 3; ++attribute) {
        glEnableVertexAttribArray(attribute);
        glVertexAttribPointer(attribute, attribute == 2 ? 2 : 3, GL_FLOAT, GL_FALSE, 8 * sizeof(float),
                              reinterpret_cast<const void*>(attribute * 3 * sizeof(float)));
    }
    glDrawArrays(GL_TRIANGLE_STRIP, 0, static_cast<GLsizei>(floatCount / 8));
    glDeleteBuffers(1, &vbo);
    glDeleteVertexArrays(1, &vao);
}
