// One GL shader stage compiled from one GLSL file. Any failure is fatal.
#pragma once

#include "platform/non_copyable.h"

#include <GL/glew.h>

#include <string>

class Shader : NonCopyable {
public:
    // `definitions`: preprocessor lines compiled in after the file's #version line.
    Shader(const std::string& path, GLenum type, const std::string& definitions = "");
    ~Shader();

    GLuint id = 0;
};

// `source` with `definitions` inserted after its #version line (which must stay the
// first statement), or in front where it has none, and followed by a #line
// directive that gives the file's next line its own number again.
std::string insertDefinitions(const std::string& source, const std::string& definitions);
