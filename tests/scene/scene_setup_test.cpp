// The set-up as the program runs it: its console lines, the sound order, the
// window title and size, and the uniforms it fixes once for the whole run.
#include "scene_fixture.h"

#include "app/scene_state.h"
#include "audio/audio_player.h"
#include "audio/channel.h"
#include "layout/scene_layout.h"
#include "render/light_volume_texture.h"
#include "render/quality_tier.h"
#include "render/shader_program.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <X11/Xlib.h>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <sstream>
#include <string>

// GLFW's native-access header pulls in XRandR headers this system lacks; these
// two entry points are all the title check needs.
extern "C" {
Display* glfwGetX11Display(void);
Window glfwGetX11Window(GLFWwindow* window);
}

namespace {

int countLines(const std::string& text, const std::string& wanted)
{
    std::istringstream lines(text);
    int count = 0;
    for (std::string line; std::getline(lines, line);)
        count += line == wanted;
    return count;
}

GLint uniformLocation(const ShaderProgram* program, const char* name)
{
    return glGetUniformLocation(program->id, name);
}

glm::mat4 readMat4(const ShaderProgram* program, const std::string& name)
{
    glm::mat4 value(0.0f);
    glGetUniformfv(program->id, uniformLocation(program, name.c_str()), glm::value_ptr(value));
    return value;
}

glm::vec2 readVec2(const ShaderProgram* program, const char* name)
{
    glm::vec2 value(0.0f);
    glGetUniformfv(program->id, uniformLocation(program, name), glm::value_ptr(value));
    return value;
}

GLint readInt(const ShaderProgram* program, const char* name)
{
    GLint value = -1;
    glGetUniformiv(program->id, uniformLocation(program, name), &value);
    return value;
}

} // namespace

TEST_F(SceneTest, EveryEmitterPrintsItsLineAndNothingElseFails)
{
    EXPECT_EQ(countLines(setupOutput(), "35978"), static_cast<int>(std::size(layout::EMITTERS))) << setupOutput();
    EXPECT_EQ(setupOutput().find("ERROR"), std::string::npos) << setupOutput();
}

TEST_F(SceneTest, TheFireSoundStartsBeforeTheMusic)
{
    const AudioPlayer& audio = *scene.audio;
    ASSERT_NE(audio.fireChannel, nullptr);
    ASSERT_NE(audio.musicChannel, nullptr);
    EXPECT_LT(audio.fireChannel->index, audio.musicChannel->index);
}

TEST_F(SceneTest, TheTitleIsFrostemberAfterSetUp)
{
    Display* display = glfwGetX11Display();
    char* title = nullptr;
    ASSERT_NE(XFetchName(display, glfwGetX11Window(scene.window), &title), 0);
    ASSERT_NE(title, nullptr);
    EXPECT_STREQ(title, "Frostember");
    XFree(title);
}

// The window was created at the typed size and changed before the set-up: the
// passes must use the size the window really has.
TEST_F(SceneTest, WindowSizeIsTheRealClientSize)
{
    int width = 0;
    int height = 0;
    glfwGetWindowSize(scene.window, &width, &height);
    ASSERT_EQ(width, CLIENT_WIDTH) << "the X server did not take the new size";
    ASSERT_EQ(height, CLIENT_HEIGHT);
    EXPECT_EQ(scene.windowWidth, width);
    EXPECT_EQ(scene.windowHeight, height);
}

// The low tier takes the fire's light from the bake, so its lit pass reads no
// cube map: the cube's sampler and ranges are then not active uniforms.
TEST_F(SceneTest, TheBasicProgramKeepsItsShadowAndLightUnitsAndRanges)
{
    EXPECT_EQ(readInt(scene.basicProgram, "shadowMap"), 50);
    EXPECT_EQ(readVec2(scene.basicProgram, "mapSize"), glm::vec2(1024.0f, 1024.0f));
    EXPECT_EQ(readInt(scene.basicProgram, "lightAmbient"), LIGHT_AMBIENT_UNIT);
    EXPECT_EQ(readInt(scene.basicProgram, "lightLocal"), LIGHT_LOCAL_UNIT);
    if (scene.qualityTier == QualityTier::High) {
        EXPECT_EQ(readInt(scene.basicProgram, "cubemap"), 70);
        EXPECT_EQ(readVec2(scene.basicProgram, "nearFar"), glm::vec2(0.1f, 500.0f));
    } else {
        EXPECT_EQ(glGetUniformLocation(scene.basicProgram->id, "cubemap"), -1);
    }
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_CUBE_MAP_SEAMLESS)) << "the fire's shadow filter blends across the cube's faces";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(SceneTest, TheFireShadowProgramKeepsItsCubeFacesAndRanges)
{
    const glm::vec3 light = layout::FIRE_LIGHT;
    const glm::vec3 directions[6] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    const glm::vec3 ups[6] = {{0, -1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}, {0, -1, 0}, {0, -1, 0}};
    const glm::mat4 projection = glm::perspective(1.5707964f, 1.0f, 0.1f, 250.0f);
    for (int i = 0; i < 6; ++i) {
        const std::string name = "cubemapMat[" + std::to_string(i) + "]";
        ASSERT_NE(uniformLocation(scene.pointShadowProgram, name.c_str()), -1) << name;
        const glm::mat4 expected =
            projection * glm::lookAt(glm::vec3(0.0f), directions[i], ups[i]) * glm::translate(glm::mat4(1.0f), -light);
        const glm::mat4 actual = readMat4(scene.pointShadowProgram, name);
        for (int column = 0; column < 4; ++column)
            for (int row = 0; row < 4; ++row)
                EXPECT_NEAR(actual[column][row], expected[column][row], 1e-4f) << name << " [" << column << "][" << row << "]";
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
