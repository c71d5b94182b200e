// Compile and link results, and the driver's log of a failed one.
#include "render/build_status.h"

#include <cstdlib>
#include <iostream>
#include <vector>

void requireBuilt(GLuint object, GLenum status, PFNGLGETSHADERIVPROC getParameter,
                  PFNGLGETSHADERINFOLOGPROC getLog)
{
    GLint built = GL_FALSE;
    getParameter(object, status, &built);
    if (built == GL_TRUE)
        return;

    GLint length = 0;
    getParameter(object, GL_INFO_LOG_LENGTH, &length);
    std::vector<char> log(static_cast<size_t>(length > 0 ? length : 1), '\0');
    getLog(object, length, nullptr, log.data());
    std::cout << log.data() << std::endl;
    std::exit(1);
}
