// Shader stage: read the whole file, compile, and end the process on any failure.
#include "render/shader.h"

#include "platform/native_path.h"
#include "render/build_status.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string_view>

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

// Numbers the line after it `number`, so that the compiler's messages name the
// file's own lines however many lines were inserted above.
std::string lineDirective(int number)
{
    return "#line " + std::to_string(number) + "\n";
}

} // namespace

std::string insertDefinitions(const std::string& source, const std::string& definitions)
{
    if (definitions.empty())
        return source;
    int lineNumber = 1;
    for (std::size_t lineStart = 0; lineStart < source.size(); ++lineNumber) {
        const std::size_t lineEnd = std::min(source.find('\n', lineStart), source.size());
        const std::string_view line(source.data() + lineStart, lineEnd - lineStart);
        const std::size_t text = line.find_first_not_of(" \t");
        if (text != std::string_view::npos && line.substr(text, 8) == "#version") {
            const std::string head = lineEnd < source.size() ? source.substr(0, lineEnd + 1) : source + "\n";
            return head + definitions + lineDirective(lineNumber + 1) +
                   source.substr(std::min(lineEnd + 1, source.size()));
        }
        lineStart = lineEnd + 1;
    }
    return definitions + lineDirective(1) + source;
}

Shader::Shader(const std::string& path, GLenum type, const std::string& definitions)
{
    const std::string source = insertDefinitions(readSource(path), definitions);

    id = glCreateShader(type);
    if (id == 0) {
        std::cout << "ERROR: Could not create Shader." << std::endl;
        std::exit(1);
    }
    const char* text = source.c_str();
    glShaderSource(id, 1, &text, nullptr);
    glCompileShader(id);
    requireBuilt(id, GL_COMPILE_STATUS, glGetShaderiv, glGetShaderInfoLog);
}

Shader::~Shader()
{
    glDeleteShader(id);
}
