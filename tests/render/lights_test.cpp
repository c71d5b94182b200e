// Light uploads read back from the scene's own main-pass program, built from the
// shipped stages.
#include "render/lights.h"
#include "render/quality_tier.h"
#include "render/shader.h"
#include "render/shader_program.h"
#include "render/texture_path.h"
#include "support/gl_context.h"

#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>

#include <string>

namespace {

class LightsTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        vertex = new Shader("Shader\\Basic.vert", GL_VERTEX_SHADER);
        // The high tier lights every point light per pixel, so all their uniforms are active.
        fragment = new Shader("Shader\\basic.frag", GL_FRAGMENT_SHADER,
                              texturePathDefinitions(detectTexturePath()) + qualityTierDefinitions(QualityTier::High));
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

    Shader* vertex = nullptr;
    Shader* fragment = nullptr;
    LightUniforms* lights = nullptr;
};

// Every value different, so that one written under another's name shows.
PointLight distinctLight()
{
    PointLight light;
    light.Base.Color = glm::vec3(0.9f, 0.6f, 0.3f);
    light.Base.AmbientIntensity = 2.5f;
    light.Base.DiffuseIntensity = 60.5f;
    light.Position = glm::vec3(101.5f, 20.25f, -4.75f);
    light.Atten.Constant = 0.125f;
    light.Atten.Linear = 1.5f;
    light.Atten.Exp = 0.0625f;
    return light;
}

} // namespace

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

    const PointLight light = distinctLight();
    lights->setPointLights({light});

    GLint count = -1;
    glGetUniformiv(lights->program->id, location("numPointLights"), &count);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(readVec3("pointLights[0].Base.Color"), light.Base.Color);
    EXPECT_EQ(readFloat("pointLights[0].Base.AmbientIntensity"), light.Base.AmbientIntensity);
    EXPECT_EQ(readFloat("pointLights[0].Base.DiffuseIntensity"), light.Base.DiffuseIntensity);
    EXPECT_EQ(readVec3("pointLights[0].Position"), light.Position);
    EXPECT_EQ(readFloat("pointLights[0].Atten.Constant"), light.Atten.Constant);
    EXPECT_EQ(readFloat("pointLights[0].Atten.Linear"), light.Atten.Linear);
    EXPECT_EQ(readFloat("pointLights[0].Atten.Exp"), light.Atten.Exp);

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
