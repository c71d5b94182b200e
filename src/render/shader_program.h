// A GL program linked from an ordered list of shader stages, with the uniform
// setters used for fixed values. The program does not own its stages.
#pragma once

#include "platform/non_copyable.h"

#include <GL/glew.h>
#include <glm/glm.hpp>

#include <string>
#include <vector>

class Shader;

class ShaderProgram : NonCopyable {
public:
    ShaderProgram() = default;
    explicit ShaderProgram(std::vector<Shader*> stages);
    ~ShaderProgram();

    // For programs that are members of another object: replaces the list and
    // creates the GL program. Linking stays a separate step.
    void init(std::vector<Shader*> stages);
    void link();

    // Each setter looks its location up again and writes into whatever program
    // is current; the caller makes this one current first.
    void setFloat(std::string name, float value);
    void setVec2(std::string name, const glm::vec2& value);
    void setMat4(std::string name, const glm::mat4& matrix);
    void setInt(std::string name, int value);

    GLuint id = 0;
    std::vector<Shader*> shaders;

private:
    void create();
};
