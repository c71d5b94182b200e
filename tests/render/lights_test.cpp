// Light uploads read back from a program that declares the light structs the way
// the scene's fragment stage does.
#include "render/lights.h"
#include "render/shader.h"
#include "render/shader_program.h"
#include "support/gl_context.h"
#include "support/process.h"

#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>

#include <string>

namespace {

const char* kVertex = R"(#version 330 core
layout(location = 0) in vec3 position;
void main() { gl_Position = vec4(position, 1.0); }
)";

// Every member feeds the output so that the linker keeps all of them active,
// both array entries included.
const char* kFragment = R"(#version 330 core
struct BaseLight { vec3 Color; float AmbientIntensity; float DiffuseIntensity; };
struct DirectionalLight { BaseLight Base; vec3 Direction; mat4 Rotation; };
struct Attenuation { float Constant; float Linear; float Exp; };
struct PointLight { BaseLight Base; vec3 Position; Attenuation Atten; };
uniform DirectionalLight directionalLight;
uniform int numPointLights;
uniform PointLight pointLights[2];
uniform vec3 eyeWorldPos;
out vec4 colour;
vec3 sum(BaseLight b) { return b.Color * (b.AmbientIntensity + b.DiffuseIntensity); }
void main()
{
    vec3 c = sum(directionalLight.Base) + (directionalLight.Rotation * vec4(directionalLight.Direction, 1.0)).xyz;
    for (int i = 0; i < 2; ++i) {
        PointLight p = pointLights[i];
        c += sum(p.Base) + p.Position * (p.Atten.Constant + p.Atten.Linear + p.Atten.Exp);
    }
    colour = vec4(c + eyeWorldPos, float(numPointLights));
}
)";

class LightsTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        writeFile(dir.path + "/lights.vert", kVertex);
        writeFile(dir.path + "/lights.frag", kFragment);
        vertex = new Shader(dir.path + "/lights.vert", GL_VERTEX_SHADER);
        fragment = new Shader(dir.path + "/lights.frag", GL_FRAGMENT_SHADER);
        auto* program = new ShaderProgram({vertex, fragment});
        program->link();
        lights = new LightUniforms(program);
    }

    void TearDown() override
    {
        delete lights;
        delete fragment;
        delete vertex;
    }

    GLint location(const std::string& name) const
    {
        return glGetUniformLocation(lights->program->id, name.c_str());
    }

    float readFloat(const std::string& name) const
    {
        float value = -1.0f;
        glGetUniformfv(lights->program->id, location(name), &value);
        return value;
    }

    glm::vec3 readVec3(const std::string& name) const
    {
        glm::vec3 value(-1.0f);
        glGetUniformfv(lights->program->id, location(name), glm::value_ptr(value));
        return value;
    }

    TempDir dir;
    Shader* vertex = nullptr;
    Shader* fragment = nullptr;
    LightUniforms* lights = nullptr;
};

// The scene's fire.
PointLight fire()
{
    PointLight light;
    light.Base.Color = glm::vec3(1.0f, 0.6f, 0.0f);
    light.Base.AmbientIntensity = 2.0f;
    light.Base.DiffuseIntensity = 60.0f;
    light.Position = glm::vec3(208.0f, 20.0f, -4.0f);
    light.Atten.Constant = 0.0f;
    light.Atten.Linear = 1.0f;
    light.Atten.Exp = 0.0f;
    return light;
}

} // namespace

TEST_F(LightsTest, AllNamesAreActiveInTheTestProgram)
{
    for (const char* name : {"directionalLight.Base.Color", "directionalLight.Direction", "numPointLights",
                             "pointLights[0].Atten.Exp", "pointLights[1].Base.Color", "eyeWorldPos"})
        EXPECT_NE(location(name), -1) << name;
}

TEST_F(LightsTest, DirectionalLightArrivesUnderItsNames)
{
    DirectionalLight sun;
    sun.Base.Color = glm::vec3(1.0f, 0.9f, 0.8f);
    sun.Base.AmbientIntensity = 2.0f;
    sun.Base.DiffuseIntensity = 1.0f;
    sun.Direction = glm::normalize(glm::vec3(0.5f, -0.5f, 0.0f));
    glUseProgram(0);

    lights->setDirectionalLight(sun);

    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(static_cast<GLuint>(current), lights->program->id) << "the program stays current";
    EXPECT_EQ(readVec3("directionalLight.Base.Color"), sun.Base.Color);
    EXPECT_FLOAT_EQ(readFloat("directionalLight.Base.AmbientIntensity"), 2.0f);
    EXPECT_FLOAT_EQ(readFloat("directionalLight.Base.DiffuseIntensity"), 1.0f);
    const glm::vec3 direction = readVec3("directionalLight.Direction");
    EXPECT_FLOAT_EQ(direction.x, 0.70710677f);
    EXPECT_FLOAT_EQ(direction.y, -0.70710677f);
    EXPECT_FLOAT_EQ(direction.z, 0.0f);
    EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(LightsTest, OnePointLightWritesIndexZeroOnly)
{
    // Sentinels in the second entry show whether anything wrote index 1.
    glUseProgram(lights->program->id);
    const glm::vec3 sentinel(7.0f);
    glUniform3fv(location("pointLights[1].Base.Color"), 1, glm::value_ptr(sentinel));
    glUniform3fv(location("pointLights[1].Position"), 1, glm::value_ptr(sentinel));
    glUniform1f(location("pointLights[1].Base.DiffuseIntensity"), 7.0f);
    glUniform1f(location("pointLights[1].Atten.Linear"), 7.0f);
    glUseProgram(0);

    lights->setPointLights({fire()});

    GLint count = -1;
    glGetUniformiv(lights->program->id, location("numPointLights"), &count);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(readVec3("pointLights[0].Base.Color"), glm::vec3(1.0f, 0.6f, 0.0f));
    EXPECT_FLOAT_EQ(readFloat("pointLights[0].Base.AmbientIntensity"), 2.0f);
    EXPECT_FLOAT_EQ(readFloat("pointLights[0].Base.DiffuseIntensity"), 60.0f);
    EXPECT_EQ(readVec3("pointLights[0].Position"), glm::vec3(208.0f, 20.0f, -4.0f));
    EXPECT_FLOAT_EQ(readFloat("pointLights[0].Atten.Constant"), 0.0f);
    EXPECT_FLOAT_EQ(readFloat("pointLights[0].Atten.Linear"), 1.0f);
    EXPECT_FLOAT_EQ(readFloat("pointLights[0].Atten.Exp"), 0.0f);

    EXPECT_EQ(readVec3("pointLights[1].Base.Color"), sentinel);
    EXPECT_EQ(readVec3("pointLights[1].Position"), sentinel);
    EXPECT_FLOAT_EQ(readFloat("pointLights[1].Base.DiffuseIntensity"), 7.0f);
    EXPECT_FLOAT_EQ(readFloat("pointLights[1].Atten.Linear"), 7.0f);
    EXPECT_FLOAT_EQ(readFloat("pointLights[1].Base.AmbientIntensity"), 0.0f);
    EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(LightsTest, EyePositionIsUploaded)
{
    glUseProgram(0);
    lights->setEyeWorldPos(glm::vec3(1.5f, -2.0f, 300.0f));
    EXPECT_EQ(readVec3("eyeWorldPos"), glm::vec3(1.5f, -2.0f, 300.0f));
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(static_cast<GLuint>(current), lights->program->id);
}

TEST_F(LightsTest, DestructorDeletesTheProgram)
{
    const GLuint id = lights->program->id;
    glUseProgram(0);
    delete lights;
    lights = nullptr;
    EXPECT_EQ(glIsProgram(id), GL_FALSE);
}
