// Uploads of the two light records to the basic program. Locations are looked up
// by name on every call, so a program rebuilt under the same names keeps working.
#include "render/lights.h"

#include "render/shader_program.h"

#include <GL/glew.h>
#include <glm/gtc/type_ptr.hpp>

#include <cstdio>
#include <string>

namespace {

GLint location(const ShaderProgram& program, const char* name)
{
    return glGetUniformLocation(program.id, name);
}

// "pointLights[<index>].<member>", the name of one member of one array entry.
std::string pointLightName(int index, const char* member)
{
    char name[64];
    std::snprintf(name, sizeof name, "pointLights[%d].%s", index, member);
    return name;
}

} // namespace

LightUniforms::LightUniforms(ShaderProgram* program_) : program(program_)
{
}

LightUniforms::~LightUniforms()
{
    delete program;
    program = nullptr;
}

void LightUniforms::setDirectionalLight(const DirectionalLight& light)
{
    glUseProgram(program->id);
    glUniform3fv(location(*program, "directionalLight.Base.Color"), 1, glm::value_ptr(light.Base.Color));
    glUniform1fv(location(*program, "directionalLight.Base.AmbientIntensity"), 1, &light.Base.AmbientIntensity);
    glUniform1fv(location(*program, "directionalLight.Base.DiffuseIntensity"), 1, &light.Base.DiffuseIntensity);
    glUniform3fv(location(*program, "directionalLight.Direction"), 1, glm::value_ptr(light.Direction));
}

void LightUniforms::setPointLights(const std::vector<PointLight>& lights)
{
    glUseProgram(program->id);
    glUniform1i(location(*program, "numPointLights"), static_cast<GLint>(lights.size()));
    for (int i = 0; i < static_cast<int>(lights.size()); ++i) {
        const PointLight& light = lights[i];
        const auto at = [&](const char* member) { return location(*program, pointLightName(i, member).c_str()); };
        glUniform3fv(at("Base.Color"), 1, glm::value_ptr(light.Base.Color));
        glUniform1fv(at("Base.AmbientIntensity"), 1, &light.Base.AmbientIntensity);
        glUniform3fv(at("Position"), 1, glm::value_ptr(light.Position));
        glUniform1fv(at("Base.DiffuseIntensity"), 1, &light.Base.DiffuseIntensity);
        glUniform1fv(at("Atten.Constant"), 1, &light.Atten.Constant);
        glUniform1fv(at("Atten.Linear"), 1, &light.Atten.Linear);
        glUniform1fv(at("Atten.Exp"), 1, &light.Atten.Exp);
    }
}

void LightUniforms::setEyeWorldPos(glm::vec3 position)
{
    glUseProgram(program->id);
    glUniform3fv(location(*program, "eyeWorldPos"), 1, glm::value_ptr(position));
}
