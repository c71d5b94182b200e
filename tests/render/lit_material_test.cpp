// The lit fragment stage's materials, compiled from the scene's shader files: a
// sun highlight where the floor mirrors the sun, bright in proportion to its
// tightness and absent on a matte surface; and on the high tier only, a relief
// map that tilts the normal of the mesh that binds one.
#include "render/quality_tier.h"
#include "render/shader.h"
#include "render/shader_program.h"
#include "render/texture_path.h"
#include "support/gl_context.h"
#include "support/vertex_strip.h"
#include "support/offscreen_target.h"
#include "support/run_dir.h"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>

namespace {

constexpr int VIEW = 64;

struct Material {
    glm::vec3 diffuse;
    float specular; // grey specular colour
    float shininess;
    float ambient = 0.0f; // the material's ambient colour, grey, under ambient light of 1
};

// An RGB texture of `size` x `size` texels from `texel(x, y)`, mipmapped.
template <typename Texel>
GLuint texture(int size, Texel texel)
{
    std::vector<unsigned char> rgb;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const glm::vec3 c = texel(x, y) * 255.0f;
            rgb.insert(rgb.end(), {static_cast<unsigned char>(c.r), static_cast<unsigned char>(c.g),
                                   static_cast<unsigned char>(c.b)});
        }
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, size, size, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    glGenerateMipmap(GL_TEXTURE_2D);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    return id;
}

// A depth texture at the far plane with compare mode: the sun reaches everything.
GLuint unshadowedMap()
{
    GLuint id = 0;
    const float far = 1.0f;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT24, 1, 1, 0, GL_DEPTH_COMPONENT, GL_FLOAT, &far);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, GL_COMPARE_REF_TO_TEXTURE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_FUNC, GL_LEQUAL);
    return id;
}

struct View {
    glm::vec3 eye;
    glm::vec3 toSun;
    QualityTier tier = QualityTier::Low;
    GLuint relief = 0; // bound as the specular texture when not 0
};

// A 20 x 20 floor at y = 0 (four texture repeats) seen from `view.eye` towards
// its middle, lit by the sun alone; the picture read back.
std::vector<unsigned char> renderFloor(const View& view, const Material& material)
{
    Shader vertex(runDir() + "/Shader/Basic.vert", GL_VERTEX_SHADER);
    Shader fragment(runDir() + "/Shader/basic.frag", GL_FRAGMENT_SHADER,
                    texturePathDefinitions(TexturePath::Shader) + qualityTierDefinitions(view.tier));
    ShaderProgram program({&vertex, &fragment});
    program.link();
    OffscreenTarget target(VIEW);
    target.clear(0.0f, 0.0f, 0.0f);
    glUseProgram(program.id);
    const auto at = [&program](const char* name) { return glGetUniformLocation(program.id, name); };
    const glm::mat4 identity(1.0f);
    const glm::mat4 viewProj = glm::perspective(0.8f, 1.0f, 0.1f, 100.0f) *
                               glm::lookAt(view.eye, glm::vec3(0.0f), glm::vec3(0.0f, 1.0f, 0.0f));
    const glm::mat4 sunClip = glm::translate(identity, glm::vec3(0.0f, 0.0f, -1.0f)) * glm::scale(identity, glm::vec3(0.0f));
    glUniformMatrix4fv(at("model"), 1, GL_FALSE, glm::value_ptr(identity));
    glUniformMatrix4fv(at("view_proj"), 1, GL_FALSE, glm::value_ptr(viewProj));
    glUniformMatrix4fv(at("light_view_proj"), 1, GL_FALSE, glm::value_ptr(sunClip));
    glUniformMatrix4fv(at("directionalLight.Rotation"), 1, GL_FALSE, glm::value_ptr(identity));
    glUniform3f(at("directionalLight.Base.Color"), 1.0f, 1.0f, 1.0f);
    glUniform1f(at("directionalLight.Base.AmbientIntensity"), 1.0f);
    glUniform1f(at("directionalLight.Base.DiffuseIntensity"), 1.0f);
    const glm::vec3 travel = -glm::normalize(view.toSun);
    glUniform3f(at("directionalLight.Direction"), travel.x, travel.y, travel.z);
    glUniform1i(at("numPointLights"), 0);
    glUniform3f(at("eyeWorldPos"), view.eye.x, view.eye.y, view.eye.z);
    glUniform1f(at("matSpecularIntensity"), 1.0f);
    glUniform1f(at("specularPower"), 1.0f);
    glUniform4f(at("material.ambient"), material.ambient, material.ambient, material.ambient, 1.0f);
    glUniform4f(at("material.texture_diffuse1"), material.diffuse.r, material.diffuse.g, material.diffuse.b, 1.0f);
    glUniform4f(at("material.texture_specular1"), material.specular, material.specular, material.specular, 1.0f);
    glUniform1f(at("material.shininess"), material.shininess);
    glUniform2f(at("mapSize"), 1.0f, 1.0f);
    glUniform2f(at("nearFar"), 0.1f, 100.0f);
    // Samplers of different types may not share a unit, even unused.
    glUniform1i(at("texture_diffuse1"), 0);
    glUniform1i(at("texture_specular1"), 1);
    glUniform1i(at("specularMapped"), view.relief != 0 ? 1 : 0);
    glUniform1i(at("shadowMap"), 2);
    glUniform1i(at("cubemap"), 3);
    glUniform1i(at("lightAmbient"), 4);
    glUniform1i(at("lightLocal"), 5);

    const GLuint white = texture(4, [](int, int) { return glm::vec3(1.0f); });
    const GLuint shadow = unshadowedMap();
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, white);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, view.relief);
    glActiveTexture(GL_TEXTURE2);
    glBindTexture(GL_TEXTURE_2D, shadow);

    const float vertices[] = {
        // position, normal, texture coordinates
        -10.0f, 0.0f, 10.0f,  0.0f, 1.0f, 0.0f, 0.0f, 0.0f,
        10.0f,  0.0f, 10.0f,  0.0f, 1.0f, 0.0f, 4.0f, 0.0f,
        -10.0f, 0.0f, -10.0f, 0.0f, 1.0f, 0.0f, 0.0f, 4.0f,
        10.0f,  0.0f, -10.0f, 0.0f, 1.0f, 0.0f, 4.0f, 4.0f,
    };
    drawVertexStrip(vertices, std::size(vertices));
    std::vector<unsigned char> pixels = target.pixels();
    glDeleteTextures(1, &white);
    glDeleteTextures(1, &shadow);
    glActiveTexture(GL_TEXTURE0);
    return pixels;
}

int red(const std::vector<unsigned char>& pixels, int x, int y)
{
    return pixels[4 * (y * VIEW + x)];
}

} // namespace

class LitMaterial : public GlTest {};

// The eye sees the sun mirrored in the middle of the floor. A black floor shows
// its highlight alone (and the little it mirrors of the ambient light): there,
// and a quarter of the view aside, on both tiers.
TEST_F(LitMaterial, HighlightIsBrightAsItIsTightAndAbsentOnMatte)
{
    struct Row {
        const char* what;
        Material material;
        int leastPeak; // of 255, in the middle
        int mostPeak;
        float asideShare; // the most of the peak a quarter of the view aside
    };
    const Row rows[] = {
        {"varnish, broad", {glm::vec3(0.0f), 0.2f, 20.0f}, 20, 110, 0.95f},
        {"glass, tight: brighter, not only smaller", {glm::vec3(0.0f), 0.2f, 400.0f}, 160, 255, 0.5f},
        {"matte plaster", {glm::vec3(0.0f), 0.03f, 4.0f}, 0, 12, 1.0f},
    };
    for (const QualityTier tier : {QualityTier::Low, QualityTier::High})
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(qualityTierName(tier)) + ": " + row.what);
            const View view{{-4.0f, 4.0f, 0.0f}, {1.0f, 1.0f, 0.0f}, tier};
            const std::vector<unsigned char> pixels = renderFloor(view, row.material);
            ASSERT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));
            const int peak = red(pixels, VIEW / 2, VIEW / 2);
            EXPECT_GE(peak, row.leastPeak);
            EXPECT_LE(peak, row.mostPeak);
            const int aside = red(pixels, VIEW / 2 + VIEW / 4, VIEW / 2);
            EXPECT_LE(aside, std::max(static_cast<int>(row.asideShare * static_cast<float>(peak)), 12));
        }
}

// Ridges along u under a raking sun: the relief map's slope shows as stripes in
// the diffuse light only where the high tier reads a map the mesh says it binds.
TEST_F(LitMaterial, ReliefMapTiltsTheNormalOnlyOnTheHighTierOfAMappedMesh)
{
    // R: a height ramp of two periods; G: full gloss; B: the deepest relief.
    const GLuint ridges = texture(64, [](int x, int) {
        return glm::vec3(std::abs(static_cast<float>(x % 32) - 16.0f) / 16.0f, 1.0f, 1.0f);
    });
    struct Row {
        const char* what;
        QualityTier tier;
        GLuint relief;
        bool stripes;
    };
    const Row rows[] = {
        {"high tier, mapped", QualityTier::High, ridges, true},
        {"high tier, no map bound", QualityTier::High, 0, false},
        {"low tier, mapped", QualityTier::Low, ridges, false},
    };
    // Ambient light keeps the slopes turned from the sun above black.
    const Material chalk{glm::vec3(0.5f), 0.0f, 1.0f, 1.0f};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const View view{{0.0f, 12.0f, 1.0f}, {1.0f, 0.4f, 0.0f}, row.tier, row.relief};
        const std::vector<unsigned char> pixels = renderFloor(view, chalk);
        ASSERT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));
        int lowest = 255;
        int highest = 0;
        int black = 0;
        for (int x = VIEW / 4; x < 3 * VIEW / 4; ++x) {
            const int value = red(pixels, x, VIEW / 2);
            lowest = std::min(lowest, value);
            highest = std::max(highest, value);
            black += value == 0 ? 1 : 0;
        }
        EXPECT_EQ(black, 0);
        if (row.stripes)
            EXPECT_GT(highest - lowest, 40);
        else
            EXPECT_LT(highest - lowest, 6);
    }
    glDeleteTextures(1, &ridges);
}
