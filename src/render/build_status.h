// The one check after a stage compiles or a program links: the driver's log of
// a failure goes to standard output as it stands, and the process ends with
// status 1, as every shader failure does.
#pragma once

#include <GL/glew.h>

// `status` is GL_COMPILE_STATUS with glGetShaderiv and glGetShaderInfoLog, or
// GL_LINK_STATUS with glGetProgramiv and glGetProgramInfoLog.
void requireBuilt(GLuint object, GLenum status, PFNGLGETSHADERIVPROC getParameter,
                  PFNGLGETSHADERINFOLOGPROC getLog);
