// Program creation, linking and the by-name uniform setters.
#include "render/shader_program.h"

#include "render/build_status.h"
#include "render/shader.h"

#include <glm/gtc/type_ptr.hpp>

#include <cstdlib>
#include <iostream>

ShaderProgram::ShaderProgram(std::vector<Shader*> stages)
{
    init(std::move(stages));
}

ShaderProgram::~ShaderProgram()
{
    glDeleteProgram(id);
}

void ShaderProgram::init(std::vector<Shader*> stages)
{
    shaders = std::move(stages);
    create();
}

void ShaderProgram::create()
{
    id = glCreateProgram();
    if (id == 0) {
        std::cout << "ERROR: Could not create Program." << std::endl;
        std::exit(1);
    }
}

void ShaderProgram::link()
{
    for (const Shader* shader : shaders)
        glAttachShader(id, shader->id);
    glLinkProgram(id);
    requireBuilt(id, GL_LINK_STATUS, glGetProgramiv, glGetProgramInfoLog);
}

void ShaderProgram::setFloat(std::string name, float value)
{
    glUniform1fv(glGetUniformLocation(id, name.c_str()), 1, &value);
}

void ShaderProgram::setVec2(std::string name, const glm::vec2& value)
{
    glUniform2fv(glGetUniformLocation(id, name.c_str()), 1, glm::value_ptr(value));
}

void ShaderProgram::setMat4(std::string name, const glm::mat4& matrix)
{
    glUniformMatrix4fv(glGetUniformLocation(id, name.c_str()), 1, GL_FALSE, glm::value_ptr(matrix));
}

void ShaderProgram::setInt(std::string name, int value)
{
    glUniform1i(glGetUniformLocation(id, name.c_str()), value);
}
