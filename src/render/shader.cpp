// Shader stage: read the whole file, compile, and end the process on any failure.
#include "render/shader.h"

#include "platform/native_path.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

namespace {

std::string readSource(const std::string& path)
{
    std::ifstream file(nativePath(path));
    if (!file.good()) {
        std::cout << "ERROR: Load file " << path << "," << std::endl;
        std::exit(1);
    }
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

} // namespace

Shader::Shader(const std::string& path, GLenum type)
{
    const std::string source = readSource(path);

    id = glCreateShader(type);
    if (id == 0) {
        std::cout << "ERROR: Could not create Shader." << std::endl;
        std::exit(1);
    }
    const char* text = source.c_str();
    glShaderSource(id, 1, &text, nullptr);
    glCompileShader(id);

    GLint status = GL_FALSE;
    glGetShaderiv(id, GL_COMPILE_STATUS, &status);
    if (status == GL_TRUE)
        return;

    GLint length = 0;
    glGetShaderiv(id, GL_INFO_LOG_LENGTH, &length);
    std::vector<char> log(static_cast<size_t>(length > 0 ? length : 1), '\0');
    glGetShaderInfoLog(id, length, nullptr, log.data());
    std::cout << log.data() << std::endl;
    std::exit(1);
}

Shader::~Shader()
{
    glDeleteShader(id);
}
