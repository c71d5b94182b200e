// One GL shader stage compiled from one GLSL file. Any failure is fatal.
#pragma once

#include <GL/glew.h>

#include <string>

class Shader {
public:
    Shader(const std::string& path, GLenum type);
    ~Shader();

    Shader(const Shader&) = delete;
    Shader& operator=(const Shader&) = delete;

    GLuint id = 0;
};
