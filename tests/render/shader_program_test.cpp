// Shader programs against a real context: linking failures, the setters, and
// untransposed matrices.
#include "render/shader.h"
#include "render/shader_program.h"
#include "support/gl_context.h"
#include "support/process.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <regex>

namespace {

class ShaderProgramTest : public GlTest {
protected:
    // Writes a shader file into the scratch directory and returns its path,
    // spelled with the program's backslash separator.
    std::string shaderFile(const std::string& name, const std::string& source)
    {
        writeFile(dir.path + "/" + name, source);
        return dir.path + "\\" + name;
    }

    TempDir dir;
};

const char* kVertex = R"(#version 330 core
layout(location = 0) in vec3 position;
uniform mat4 model;
uniform vec2 offset;
void main() { gl_Position = model * vec4(position + vec3(offset, 0.0), 1.0); }
)";

const char* kFragment = R"(#version 330 core
uniform float brightness;
uniform int unit;
out vec4 colour;
void main() { colour = vec4(brightness, float(unit), 0.0, 1.0); }
)";

} // namespace

TEST_F(ShaderProgramTest, BackslashPathsCompileAndLink)
{
    Shader vertex(shaderFile("a.vert", kVertex), GL_VERTEX_SHADER);
    Shader fragment(shaderFile("a.frag", kFragment), GL_FRAGMENT_SHADER);
    ShaderProgram program({&vertex, &fragment});
    program.link();
    GLint status = GL_FALSE;
    glGetProgramiv(program.id, GL_LINK_STATUS, &status);
    EXPECT_EQ(status, GL_TRUE);
    GLint attached = 0;
    glGetProgramiv(program.id, GL_ATTACHED_SHADERS, &attached);
    EXPECT_EQ(attached, 2) << "stages stay attached after linking";
}

TEST_F(ShaderProgramTest, SettersWriteIntoTheCurrentProgram)
{
    Shader vertex(shaderFile("b.vert", kVertex), GL_VERTEX_SHADER);
    Shader fragment(shaderFile("b.frag", kFragment), GL_FRAGMENT_SHADER);
    ShaderProgram program;
    program.init({&vertex, &fragment});
    program.link();
    glUseProgram(program.id);

    program.setFloat("brightness", 0.25f);
    program.setVec2("offset", glm::vec2(3.0f, -4.0f));
    program.setInt("unit", 50);

    float brightness = 0.0f;
    glGetUniformfv(program.id, glGetUniformLocation(program.id, "brightness"), &brightness);
    EXPECT_FLOAT_EQ(brightness, 0.25f);
    float offset[2] = {};
    glGetUniformfv(program.id, glGetUniformLocation(program.id, "offset"), offset);
    EXPECT_FLOAT_EQ(offset[0], 3.0f);
    EXPECT_FLOAT_EQ(offset[1], -4.0f);
    GLint unit = 0;
    glGetUniformiv(program.id, glGetUniformLocation(program.id, "unit"), &unit);
    EXPECT_EQ(unit, 50);

    program.setFloat("no such uniform", 1.0f);
    EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR)) << "an unknown name is silently ignored";
}

TEST_F(ShaderProgramTest, Mat4ArrivesUntransposed)
{
    Shader vertex(shaderFile("c.vert", kVertex), GL_VERTEX_SHADER);
    Shader fragment(shaderFile("c.frag", kFragment), GL_FRAGMENT_SHADER);
    ShaderProgram program({&vertex, &fragment});
    program.link();
    glUseProgram(program.id);

    const glm::mat4 translation = glm::translate(glm::mat4(1.0f), glm::vec3(7.0f, 8.0f, 9.0f));
    program.setMat4("model", translation);
    float read[16] = {};
    glGetUniformfv(program.id, glGetUniformLocation(program.id, "model"), read);
    // Column-major: the translation sits in the fourth column, elements 12..14.
    EXPECT_FLOAT_EQ(read[12], 7.0f);
    EXPECT_FLOAT_EQ(read[13], 8.0f);
    EXPECT_FLOAT_EQ(read[14], 9.0f);
    EXPECT_FLOAT_EQ(read[3], 0.0f);
}

using ShaderProgramDeathTest = ShaderProgramTest;

TEST_F(ShaderProgramDeathTest, LinkFailureExitsWithStatusOne)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string fragmentPath = shaderFile("d.frag", kFragment);
    // The vertex stage compiles but calls a function no stage defines.
    const std::string vertexPath = shaderFile("d.vert", R"(#version 330 core
vec4 undefinedHelper();
void main() { gl_Position = undefinedHelper(); }
)");
    EXPECT_EXIT(
        {
            Shader vertex(vertexPath, GL_VERTEX_SHADER);
            Shader fragment(fragmentPath, GL_FRAGMENT_SHADER);
            ShaderProgram program({&vertex, &fragment});
            program.link();
        },
        ::testing::ExitedWithCode(1), "");
}

TEST_F(ShaderProgramDeathTest, MissingFileExitsWithStatusOne)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string missing = dir.path + "\\missing.vert";
    EXPECT_EXIT(Shader(missing, GL_VERTEX_SHADER), ::testing::ExitedWithCode(1), "");
}

// Definitions must follow the #version line, which GLSL wants before any other
// statement, even where comments or blank lines come first; a #line directive
// after them numbers the file's next line as in the file.
TEST(ShaderDefinitions, GoRightAfterTheVersionLine)
{
    struct Case {
        const char* source;
        const char* definitions;
        const char* expected;
    };
    const Case cases[] = {
        {"#version 330 core\nvoid main() {}\n", "#define A\n",
         "#version 330 core\n#define A\n#line 2\nvoid main() {}\n"},
        {"// a stage\n\n#version 330 core\nout vec4 c;\n", "#define A\n#define B\n",
         "// a stage\n\n#version 330 core\n#define A\n#define B\n#line 4\nout vec4 c;\n"},
        {"\n  #version 330 core\n", "#define A\n", "\n  #version 330 core\n#define A\n#line 3\n"},
        {"#version 330 core", "#define A\n", "#version 330 core\n#define A\n#line 2\n"},
        {"void main() {}\n", "#define A\n", "#define A\n#line 1\nvoid main() {}\n"},
        {"#version 330 core\nvoid main() {}\n", "", "#version 330 core\nvoid main() {}\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(insertDefinitions(c.source, c.definitions), c.expected) << c.source;
}

// The driver's own message for a stage compiled with definitions names the line
// of the file that is wrong: "0:5(" on Mesa, "0(5)" on NVIDIA, "0:5:" on AMD.
TEST_F(ShaderProgramTest, ACompileErrorNamesTheFilesOwnLine)
{
    const std::string source = "#version 330 core\nout vec4 colour;\nvoid main()\n{\n    colour = undeclared;\n}\n";
    const std::string text = insertDefinitions(source, "#define A\n#define B\n");
    const char* pointer = text.c_str();
    const GLuint shader = glCreateShader(GL_FRAGMENT_SHADER);
    glShaderSource(shader, 1, &pointer, nullptr);
    glCompileShader(shader);
    GLchar log[1024] = {};
    glGetShaderInfoLog(shader, sizeof log, nullptr, log);
    glDeleteShader(shader);
    EXPECT_TRUE(std::regex_search(log, std::regex("0[:(]5[:()]"))) << log;
}
