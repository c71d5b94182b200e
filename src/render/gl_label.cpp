// KHR_debug object labels.
#include "render/gl_label.h"

void labelObject(GLenum identifier, GLuint name, const char* label)
{
    if (GLEW_KHR_debug && name != 0)
        glObjectLabel(identifier, name, -1, label);
}
