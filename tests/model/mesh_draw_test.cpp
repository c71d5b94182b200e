// Mesh drawing against a real context: the culling verdict per pass, material
// uniforms, sampler names and texture units, and what a draw leaves bound.
#include "camera/bounding_box.h"
#include "camera/camera.h"
#include "camera/frustum.h"
#include "model/mesh.h"
#include "render/shader.h"
#include "render/shader_program.h"
#include "support/gl_context.h"
#include "support/process.h"

#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace {

// Positions go straight to the screen (x, y only), so a mesh placed anywhere for
// the culling test still covers the framebuffer when it is drawn. `show` picks
// what the fragment writes, which keeps every uniform active.
const char* kVertex = R"(#version 330 core
layout(location = 0) in vec3 position;
layout(location = 2) in vec2 texCoords;
uniform mat4 model;
out vec2 uv;
void main()
{
    uv = texCoords;
    gl_Position = vec4((model * vec4(position, 1.0)).xy, 0.0, 1.0);
}
)";

const char* kFragment = R"(#version 330 core
struct Material {
    vec4 ambient;
    vec4 texture_diffuse1;
    vec4 texture_specular1;
    float shininess;
};
uniform Material material;
uniform sampler2D texture_diffuse1;
uniform sampler2D texture_diffuse2;
uniform sampler2D texture_specular1;
uniform int specularMapped;
uniform int show; // 0..2: one sampler, 3: white, 4: the material, 5: specularMapped
in vec2 uv;
out vec4 colour;
void main()
{
    if (show == 0)
        colour = texture(texture_diffuse1, uv);
    else if (show == 1)
        colour = texture(texture_diffuse2, uv);
    else if (show == 2)
        colour = texture(texture_specular1, uv);
    else if (show == 3)
        colour = vec4(1.0);
    else if (show == 5)
        colour = vec4(float(specularMapped));
    else
        colour = material.ambient + material.texture_diffuse1 + material.texture_specular1 + vec4(material.shininess);
}
)";

using Rgba = std::array<unsigned char, 4>;

class MeshDrawTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        writeFile(dir.path + "/mesh.vert", kVertex);
        writeFile(dir.path + "/mesh.frag", kFragment);
        vertexShader = std::make_unique<Shader>(dir.path + "/mesh.vert", GL_VERTEX_SHADER);
        fragmentShader = std::make_unique<Shader>(dir.path + "/mesh.frag", GL_FRAGMENT_SHADER);
        program = std::make_unique<ShaderProgram>(std::vector<Shader*>{vertexShader.get(), fragmentShader.get()});
        program->link();
        glUseProgram(program->id);

        camera = std::make_unique<Camera>(testWindow());
        camera->position = glm::vec3(0.0f);
        camera->front = glm::vec3(0.0f, 0.0f, -1.0f);
        camera->up = glm::vec3(0.0f, 1.0f, 0.0f);
        frustum = std::make_unique<Frustum>(camera.get());
        frustum->update();

        glGenFramebuffers(1, &framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glGenRenderbuffers(1, &colourBuffer);
        glBindRenderbuffer(GL_RENDERBUFFER, colourBuffer);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, 4, 4);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colourBuffer);
        ASSERT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
        glViewport(0, 0, 4, 4);
        glDisable(GL_DEPTH_TEST);
        clear();
    }

    void TearDown() override
    {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &framebuffer);
        glDeleteRenderbuffers(1, &colourBuffer);
        glUseProgram(0);
        glActiveTexture(GL_TEXTURE0);
    }

    // A square covering the screen at depth z, with its box fitted and moved.
    std::unique_ptr<Mesh> square(float z, std::vector<MeshTexture> textures = {}, MeshMaterial material = {})
    {
        const std::vector<Vertex> vertices = {{{-1, -1, z}, {0, 0, 1}, {0.5f, 0.5f}},
                                              {{1, -1, z}, {0, 0, 1}, {0.5f, 0.5f}},
                                              {{1, 1, z}, {0, 0, 1}, {0.5f, 0.5f}},
                                              {{-1, 1, z}, {0, 0, 1}, {0.5f, 0.5f}}};
        auto* bounds = new BoundingBox();
        bounds->fitToVertices(vertices);
        auto mesh = std::make_unique<Mesh>(vertices, std::vector<GLuint>{0, 1, 2, 0, 2, 3}, std::move(textures),
                                           std::move(material), frustum.get(), bounds, glm::vec3(1.0f),
                                           glm::vec3(0.0f));
        mesh->updateTransforms();
        return mesh;
    }

    static GLuint solidTexture(Rgba colour)
    {
        GLuint id = 0;
        glGenTextures(1, &id);
        glBindTexture(GL_TEXTURE_2D, id);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, colour.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glBindTexture(GL_TEXTURE_2D, 0);
        return id;
    }

    static void clear()
    {
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    static Rgba centrePixel()
    {
        Rgba pixel{};
        glReadPixels(2, 2, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel.data());
        return pixel;
    }

    // Draws in the main pass with the fragment showing `what`, and returns the result.
    Rgba drawShowing(Mesh& mesh, int what)
    {
        clear();
        program->setInt("show", what);
        mesh.draw(*program, false);
        return centrePixel();
    }

    GLint samplerUnit(const char* name) const
    {
        GLint value = -1;
        glGetUniformiv(program->id, glGetUniformLocation(program->id, name), &value);
        return value;
    }

    glm::vec4 vec4Uniform(const char* name) const
    {
        glm::vec4 value(0.0f);
        glGetUniformfv(program->id, glGetUniformLocation(program->id, name), glm::value_ptr(value));
        return value;
    }

    float floatUniform(const char* name) const
    {
        float value = 0.0f;
        glGetUniformfv(program->id, glGetUniformLocation(program->id, name), &value);
        return value;
    }

    glm::mat4 modelUniform() const
    {
        glm::mat4 value(0.0f);
        glGetUniformfv(program->id, glGetUniformLocation(program->id, "model"), glm::value_ptr(value));
        return value;
    }

    static GLint boundOnUnit(int unit)
    {
        glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
        GLint bound = -1;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        return bound;
    }

    // Fills the material uniforms and samplers with values no draw would write.
    void setSentinels()
    {
        const glm::vec4 five(5.0f);
        for (const char* name : {"material.ambient", "material.texture_diffuse1", "material.texture_specular1"})
            glUniform4fv(glGetUniformLocation(program->id, name), 1, glm::value_ptr(five));
        program->setFloat("material.shininess", 99.0f);
        for (const char* name : {"texture_diffuse1", "texture_diffuse2", "texture_specular1"})
            program->setInt(name, 7);
    }

    void expectSentinels() const
    {
        EXPECT_EQ(vec4Uniform("material.ambient"), glm::vec4(5.0f));
        EXPECT_EQ(vec4Uniform("material.texture_diffuse1"), glm::vec4(5.0f));
        EXPECT_EQ(vec4Uniform("material.texture_specular1"), glm::vec4(5.0f));
        EXPECT_EQ(floatUniform("material.shininess"), 99.0f);
    }

    TempDir dir;
    std::unique_ptr<Shader> vertexShader;
    std::unique_ptr<Shader> fragmentShader;
    std::unique_ptr<ShaderProgram> program;
    std::unique_ptr<Camera> camera;
    std::unique_ptr<Frustum> frustum;
    GLuint framebuffer = 0;
    GLuint colourBuffer = 0;
};

const Rgba kBlack{0, 0, 0, 0};
const Rgba kWhite{255, 255, 255, 255};
const Rgba kRed{255, 0, 0, 255};
const Rgba kGreen{0, 255, 0, 255};
const Rgba kBlue{0, 0, 255, 255};

MeshMaterial colourMaterial()
{
    MeshMaterial material;
    material.name = "paint";
    material.ambient = {0.1f, 0.2f, 0.3f};
    material.diffuse = {0.4f, 0.5f, 0.6f};
    material.specular = {0.7f, 0.8f, 0.9f};
    material.shininess = 32.0f;
    return material;
}

} // namespace

TEST_F(MeshDrawTest, MeshOutsideTheViewIsSkippedInTheMainPassButDrawnDepthOnly)
{
    auto behind = square(10.0f);
    program->setInt("show", 3);
    frustum->objectCount = 0;

    behind->draw(*program, false);
    EXPECT_EQ(centrePixel(), kBlack) << "culled in the main pass";
    EXPECT_EQ(frustum->objectCount, 0);

    behind->draw(*program, true);
    EXPECT_EQ(centrePixel(), kWhite) << "shadow passes draw it whatever the verdict";
    EXPECT_EQ(frustum->objectCount, 0) << "an outside box is never counted";

    auto ahead = square(-10.0f);
    clear();
    ahead->draw(*program, false);
    EXPECT_EQ(centrePixel(), kWhite);
    ahead->draw(*program, true);
    EXPECT_EQ(frustum->objectCount, 2) << "every visible draw asks and counts, depth-only ones too";
    EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(MeshDrawTest, WithCullingOffEveryMainPassDrawCounts)
{
    auto behind = square(10.0f);
    frustum->cullingEnabled = false;
    frustum->objectCount = 0;
    EXPECT_EQ(drawShowing(*behind, 3), kWhite);
    EXPECT_EQ(frustum->objectCount, 1);
}

TEST_F(MeshDrawTest, OneDiffuseAndOneSpecularTakeUnitsZeroAndOne)
{
    const GLuint red = solidTexture(kRed);
    const GLuint blue = solidTexture(kBlue);
    auto mesh = square(-10.0f, {{red, "texture_diffuse", "r.png"}, {blue, "texture_specular", "b.png"}},
                        colourMaterial());
    setSentinels();

    EXPECT_EQ(drawShowing(*mesh, 0), kRed);
    EXPECT_EQ(drawShowing(*mesh, 2), kBlue);
    EXPECT_EQ(samplerUnit("texture_diffuse1"), 0);
    EXPECT_EQ(samplerUnit("texture_specular1"), 1);
    EXPECT_EQ(samplerUnit("texture_diffuse2"), 7) << "no second diffuse entry, no second diffuse sampler";

    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    EXPECT_EQ(active, GL_TEXTURE1) << "the active unit stays at the last one used";
    EXPECT_EQ(boundOnUnit(0), 0);
    EXPECT_EQ(boundOnUnit(1), 0);
    EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));
}

// The specular sampler keeps the unit the last mesh gave it: the flag says
// whether the mesh drawn brought its own specular texture.
TEST_F(MeshDrawTest, SpecularMappedFollowsTheMeshDrawn)
{
    const GLuint red = solidTexture(kRed);
    const GLuint blue = solidTexture(kBlue);
    auto mapped = square(-10.0f, {{red, "texture_diffuse", "r.png"}, {blue, "texture_specular", "b.png"}});
    auto plain = square(-10.0f, {{red, "texture_diffuse", "r.png"}});
    EXPECT_EQ(drawShowing(*mapped, 5), kWhite);
    EXPECT_EQ(drawShowing(*plain, 5), kBlack);
}

TEST_F(MeshDrawTest, TwoDiffuseAndOneSpecularNumberTheirSamplersPerType)
{
    const GLuint red = solidTexture(kRed);
    const GLuint green = solidTexture(kGreen);
    const GLuint blue = solidTexture(kBlue);
    auto mesh = square(-10.0f,
                       {{red, "texture_diffuse", "r.png"},
                        {green, "texture_diffuse", "g.png"},
                        {blue, "texture_specular", "b.png"}},
                       colourMaterial());

    EXPECT_EQ(drawShowing(*mesh, 0), kRed);
    EXPECT_EQ(drawShowing(*mesh, 1), kGreen);
    EXPECT_EQ(drawShowing(*mesh, 2), kBlue);
    EXPECT_EQ(samplerUnit("texture_diffuse1"), 0);
    EXPECT_EQ(samplerUnit("texture_diffuse2"), 1);
    EXPECT_EQ(samplerUnit("texture_specular1"), 2);
    for (int unit = 0; unit < 3; ++unit)
        EXPECT_EQ(boundOnUnit(unit), 0) << "unit " << unit;
}

TEST_F(MeshDrawTest, MainPassSetsModelAndMaterialColoursWithOpaqueAlpha)
{
    auto mesh = square(-10.0f, {}, colourMaterial());
    mesh->scale = glm::vec3(2.0f);
    mesh->position = glm::vec3(0.0f, 0.0f, -1.0f);
    mesh->updateTransforms();

    drawShowing(*mesh, 4);
    EXPECT_EQ(modelUniform(), mesh->modelMatrix);
    EXPECT_EQ(vec4Uniform("material.ambient"), glm::vec4(0.1f, 0.2f, 0.3f, 1.0f));
    EXPECT_EQ(vec4Uniform("material.texture_diffuse1"), glm::vec4(0.4f, 0.5f, 0.6f, 1.0f));
    EXPECT_EQ(vec4Uniform("material.texture_specular1"), glm::vec4(0.7f, 0.8f, 0.9f, 1.0f));
    EXPECT_EQ(floatUniform("material.shininess"), 32.0f);
}

TEST_F(MeshDrawTest, DepthOnlyDrawSetsOnlyTheModelAndStillUnbindsItsUnits)
{
    const GLuint red = solidTexture(kRed);
    const GLuint blue = solidTexture(kBlue);
    const GLuint stray = solidTexture(kGreen);
    auto mesh = square(-10.0f, {{red, "texture_diffuse", "r.png"}, {blue, "texture_specular", "b.png"}},
                        colourMaterial());
    mesh->scale = glm::vec3(0.5f);
    mesh->updateTransforms();
    setSentinels();
    program->setMat4("model", glm::mat4(1.0f));
    for (int unit = 0; unit < 2; ++unit) {
        glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
        glBindTexture(GL_TEXTURE_2D, stray);
    }

    mesh->draw(*program, true);

    EXPECT_EQ(modelUniform(), mesh->modelMatrix);
    expectSentinels();
    EXPECT_EQ(samplerUnit("texture_diffuse1"), 7);
    EXPECT_EQ(samplerUnit("texture_specular1"), 7);
    EXPECT_EQ(boundOnUnit(0), 0);
    EXPECT_EQ(boundOnUnit(1), 0);
}

TEST_F(MeshDrawTest, RecordWithoutMaterialLeavesTheMaterialUniforms)
{
    const GLuint red = solidTexture(kRed);
    auto mesh = square(-10.0f, {{red, "texture_diffuse", "r.png"}});
    setSentinels();

    EXPECT_EQ(drawShowing(*mesh, 0), kRed);
    expectSentinels();
    EXPECT_EQ(samplerUnit("texture_diffuse1"), 0) << "samplers are still set";
}

TEST_F(MeshDrawTest, MeshWithoutTexturesLeavesTheActiveUnit)
{
    auto mesh = square(-10.0f, {}, colourMaterial());
    glActiveTexture(GL_TEXTURE7);
    mesh->draw(*program, false);
    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    EXPECT_EQ(active, GL_TEXTURE7);
}
