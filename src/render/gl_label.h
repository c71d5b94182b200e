// Debug labels for GL objects, so frame captures name what they show. A no-op
// where KHR_debug is missing.
#pragma once

#include <GL/glew.h>

// identifier: GL_BUFFER, GL_TEXTURE, GL_VERTEX_ARRAY, GL_FRAMEBUFFER, GL_PROGRAM, ...
void labelObject(GLenum identifier, GLuint name, const char* label);
