// The lit fragment stage's own diffuse filter against the texture's sampler, both
// compiled from the scene's shader files, on a floor that recedes to the horizon
// so that the level of detail changes from pixel to pixel across all levels.
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

constexpr int VIEW = 256;

// A mip chain with each level a colour of its own, changing evenly from level to
// level, so that a blend of two levels reads as the level of detail and a wrong
// level shows.
struct LevelChain {
    const char* what;
    int width;
    int height;
    int maxLevel; // GL_TEXTURE_MAX_LEVEL; the levels above it are filled too

    int levels() const { return 1 + static_cast<int>(std::log2(std::max(width, height))); }

    glm::vec3 colour(int level) const
    {
        const float k = static_cast<float>(level) / static_cast<float>(levels() - 1);
        return {0.2f + 0.8f * k, 1.0f - 0.8f * k, 0.6f};
    }
};

GLuint levelColouredTexture(const LevelChain& chain)
{
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (int level = 0; level < chain.levels(); ++level) {
        const int width = std::max(chain.width >> level, 1);
        const int height = std::max(chain.height >> level, 1);
        const glm::vec3 c = chain.colour(level) * 255.0f;
        std::vector<unsigned char> texels;
        for (int i = 0; i < width * height; ++i)
            texels.insert(texels.end(), {static_cast<unsigned char>(c.r), static_cast<unsigned char>(c.g),
                                         static_cast<unsigned char>(c.b)});
        glTexImage2D(GL_TEXTURE_2D, level, GL_RGB, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, chain.maxLevel);
    return id;
}

// A floor of 400 x 400 units with one texture repeat every two units, seen from
// one unit above it towards the horizon: from magnified texels at the bottom of
// the view to the smallest level near the horizon.
void drawFloor()
{
    const float vertices[] = {
        // position, normal, texture coordinates
        -200.0f, 0.0f, 0.0f,    0.0f, 1.0f, 0.0f, -100.0f, 0.0f,
        200.0f,  0.0f, 0.0f,    0.0f, 1.0f, 0.0f, 100.0f,  0.0f,
        -200.0f, 0.0f, -400.0f, 0.0f, 1.0f, 0.0f, -100.0f, 200.0f,
        200.0f,  0.0f, -400.0f, 0.0f, 1.0f, 0.0f, 100.0f,  200.0f,
    };
    drawVertexStrip(vertices, std::size(vertices));
}

// Ambient light alone, scaled so that the picture is the texture's colour
// through the stage's own tone curve; no sun, no fire, no highlight.
void setAmbientOnlyUniforms(GLuint program)
{
    const auto at = [program](const char* name) { return glGetUniformLocation(program, name); };
    const glm::mat4 viewProj = glm::perspective(1.0f, 1.0f, 0.1f, 1000.0f) *
                               glm::lookAt(glm::vec3(0.0f, 1.0f, 0.0f), glm::vec3(0.0f, 0.9f, -10.0f),
                                           glm::vec3(0.0f, 1.0f, 0.0f));
    const glm::mat4 identity(1.0f);
    glUniformMatrix4fv(at("model"), 1, GL_FALSE, glm::value_ptr(identity));
    glUniformMatrix4fv(at("view_proj"), 1, GL_FALSE, glm::value_ptr(viewProj));
    glUniformMatrix4fv(at("light_view_proj"), 1, GL_FALSE, glm::value_ptr(identity));
    glUniformMatrix4fv(at("directionalLight.Rotation"), 1, GL_FALSE, glm::value_ptr(identity));
    glUniform3f(at("directionalLight.Base.Color"), 1.0f, 1.0f, 1.0f);
    glUniform1f(at("directionalLight.Base.AmbientIntensity"), 1.0f / 0.12f);
    glUniform1f(at("directionalLight.Base.DiffuseIntensity"), 0.0f);
    glUniform3f(at("directionalLight.Direction"), 0.0f, -1.0f, 0.0f);
    glUniform1i(at("numPointLights"), 0);
    glUniform3f(at("eyeWorldPos"), 0.0f, 1.0f, 0.0f);
    glUniform1f(at("matSpecularIntensity"), 0.0f);
    glUniform1f(at("specularPower"), 1.0f);
    glUniform4f(at("material.ambient"), 1.0f, 1.0f, 1.0f, 1.0f);
    glUniform4f(at("material.texture_diffuse1"), 1.0f, 1.0f, 1.0f, 1.0f);
    glUniform4f(at("material.texture_specular1"), 0.0f, 0.0f, 0.0f, 1.0f);
    glUniform1f(at("material.shininess"), 1.0f);
    glUniform2f(at("mapSize"), 1024.0f, 1024.0f);
    glUniform2f(at("nearFar"), 0.1f, 500.0f);
    // Samplers of different types may not share a unit, even unused.
    glUniform1i(at("texture_diffuse1"), 0);
    glUniform1i(at("shadowMap"), 1);
    glUniform1i(at("cubemap"), 2);
    glUniform1i(at("lightAmbient"), 3);
    glUniform1i(at("lightLocal"), 4);
}

struct Frame {
    std::vector<unsigned char> rgba;
    std::vector<float> depth;
};

// The floor drawn by the lit stage compiled for `path`, read back.
Frame renderFloor(TexturePath path, GLuint texture)
{
    Shader vertex(runDir() + "/Shader/Basic.vert", GL_VERTEX_SHADER);
    Shader fragment(runDir() + "/Shader/basic.frag", GL_FRAGMENT_SHADER, texturePathDefinitions(path));
    ShaderProgram program({&vertex, &fragment});
    program.link();

    OffscreenTarget target(VIEW);
    glEnable(GL_DEPTH_TEST);
    target.clear(0.0f, 0.0f, 0.0f);
    glUseProgram(program.id);
    setAmbientOnlyUniforms(program.id);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, texture);
    drawFloor();

    Frame frame{target.pixels(), target.depths()};
    glDisable(GL_DEPTH_TEST);
    return frame;
}

} // namespace

class DiffuseFilter : public GlTest {};

// The sampler picks its level once per 2 x 2 pixels, the filter per pixel, so the
// two may disagree by a fraction of a level: allowed on any pixel, less than the
// step between two levels' colours of the long chain (17 of 255 on red and green
// before the tone curve, twice that for the square one), and on average under one
// step of 255. Measured: 4 and 11 at most, 0.4 on average. Wrong levels differ by
// whole steps, black texels by most of the range.
TEST_F(DiffuseFilter, MatchesTheSamplerAcrossEveryLevelAndIsNeverBlack)
{
    const LevelChain chains[] = {
        {"a square texture, every level", 64, 64, 1000},
        {"a texture wider than 2048 texels, levels up to the eleventh", 4096, 1, 11},
    };
    for (const LevelChain& chain : chains) {
        SCOPED_TRACE(chain.what);
        const GLuint texture = levelColouredTexture(chain);
        const Frame filtered = renderFloor(TexturePath::Shader, texture);
        const Frame sampled = renderFloor(TexturePath::Sampler, texture);
        glDeleteTextures(1, &texture);
        ASSERT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));

        int floorPixels = 0;
        int blackPixels = 0;
        int worst = 0;
        double differenceSum = 0.0;
        for (int i = 0; i < VIEW * VIEW; ++i) {
            if (filtered.depth[i] >= 1.0f)
                continue; // above the horizon
            // The quads on the floor's far edge also cover pixels off it, whose
            // coordinates run to infinity and set the sampler's level for all four.
            if (i + 2 * VIEW < VIEW * VIEW && filtered.depth[i + 2 * VIEW] >= 1.0f)
                continue;
            ++floorPixels;
            const unsigned char* f = &filtered.rgba[4 * i];
            const unsigned char* s = &sampled.rgba[4 * i];
            if (f[0] == 0 && f[1] == 0 && f[2] == 0)
                ++blackPixels;
            for (int c = 0; c < 3; ++c) {
                const int difference = std::abs(f[c] - s[c]);
                worst = std::max(worst, difference);
                differenceSum += difference;
            }
        }
        ASSERT_GT(floorPixels, VIEW * VIEW / 3) << "the floor fills the lower half of the view";
        EXPECT_EQ(blackPixels, 0);
        EXPECT_LE(worst, 16);
        EXPECT_LT(differenceSum / (3.0 * floorPixels), 1.0);
    }
}
