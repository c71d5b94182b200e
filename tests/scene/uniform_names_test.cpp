// Every uniform name the scene looks up, from the set-up through one frame, is
// declared by the stages of the program it is looked up in: the stages' sources as
// the program was built from them, not the driver's list of active uniforms, which
// leaves out whatever no path of a stage reads.
#include "scene_fixture.h"

#include "app/scene_state.h"
#include "particles/particle_system.h"
#include "render/shader_program.h"

#include <GL/glew.h>

#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

// Uploads the program makes on purpose to names that no stage of that program
// declares: they are part of its fixed sequence of uploads, and the location of
// -1 they get makes each a no-op. Each call is marked where it stands.
const std::set<std::pair<std::string, std::string>> UNDECLARED_UPLOADS = {
    {"basic", "view"},
    {"basic", "animate"},
    {"shadow", "ShadowMap"},
    {"point shadow", "lightPosition"},
    {"point shadow", "nearFar"},
};

PFNGLGETUNIFORMLOCATIONPROC realGetUniformLocation = nullptr;
std::set<std::pair<GLuint, std::string>> lookups;

GLint GLAPIENTRY recordLookup(GLuint program, const GLchar* name)
{
    lookups.emplace(program, name);
    return realGetUniformLocation(program, name);
}

// The scene's programs by the name the list above gives them.
std::map<GLuint, std::string> programNames()
{
    std::map<GLuint, std::string> names = {
        {scene.basicProgram->id, "basic"},    {scene.shadowProgram->id, "shadow"},
        {scene.pointShadowProgram->id, "point shadow"}, {scene.skyProgram->id, "sky"},
        {scene.depthProgram->id, "depth"},
    };
    for (const ParticleSystem* emitter : scene.emitters) {
        names[emitter->updateProgram.id] = "particles update";
        names[emitter->renderProgram.id] = "particles render";
    }
    return names;
}

// The declarations of one scope: a name, its type, whether it is an array.
struct Declaration {
    std::string type;
    bool array = false;
};
using Scope = std::map<std::string, Declaration>;

// "vec3 a, b[2]" into `scope`.
void declare(const std::string& type, const std::string& declarators, Scope& scope)
{
    static const std::regex declarator(R"((\w+)\s*(\[)?)");
    std::istringstream names(declarators);
    for (std::string name; std::getline(names, name, ',');) {
        std::smatch parts;
        if (std::regex_search(name, parts, declarator))
            scope[parts[1]] = {type, parts[2].matched};
    }
}

// The uniforms and struct types that a program's stage sources declare.
struct Declarations {
    Scope uniforms;
    std::map<std::string, Scope> structs;

    explicit Declarations(GLuint program)
    {
        GLuint stages[8] = {};
        GLsizei count = 0;
        glGetAttachedShaders(program, 8, &count, stages);
        for (GLsizei i = 0; i < count; ++i)
            read(withoutComments(source(stages[i])));
    }

    // "pointLights[0].Atten.Exp": each part declared in the scope the previous one opens.
    bool declares(const std::string& name) const
    {
        const Scope* scope = &uniforms;
        std::istringstream parts(name);
        for (std::string part; std::getline(parts, part, '.');) {
            if (scope == nullptr)
                return false;
            const size_t bracket = part.find('[');
            const auto found = scope->find(part.substr(0, bracket));
            if (found == scope->end() || found->second.array != (bracket != std::string::npos))
                return false;
            const auto type = structs.find(found->second.type);
            scope = type == structs.end() ? nullptr : &type->second;
        }
        return true;
    }

private:
    static std::string source(GLuint stage)
    {
        GLint length = 0;
        glGetShaderiv(stage, GL_SHADER_SOURCE_LENGTH, &length);
        std::string text(static_cast<size_t>(length), '\0');
        glGetShaderSource(stage, length, nullptr, text.data());
        return text;
    }

    static std::string withoutComments(const std::string& text)
    {
        return std::regex_replace(text, std::regex(R"(//[^\n]*|/\*[\s\S]*?\*/)"), " ");
    }

    void read(const std::string& text)
    {
        const std::regex structPattern(R"(struct\s+(\w+)\s*\{([^}]*)\})");
        for (std::sregex_iterator it(text.begin(), text.end(), structPattern), end; it != end; ++it) {
            const std::string body = (*it)[2];
            const std::regex member(R"((\w+)\s+([^;]+);)");
            for (std::sregex_iterator m(body.begin(), body.end(), member); m != end; ++m)
                declare((*m)[1], (*m)[2], structs[(*it)[1]]);
        }
        const std::regex uniformPattern(R"(\buniform\s+(\w+)\s+([^;]+);)");
        for (std::sregex_iterator it(text.begin(), text.end(), uniformPattern), end; it != end; ++it)
            declare((*it)[1], (*it)[2], uniforms);
    }
};

class UniformNamesTest : public SceneTest {
protected:
    // GLEW's pointer behind glGetUniformLocation, through which every upload
    // finds its location.
    void beforeSetup() override
    {
        realGetUniformLocation = __glewGetUniformLocation;
        __glewGetUniformLocation = recordLookup;
    }
};

} // namespace

TEST_F(UniformNamesTest, EveryNameTheSceneUploadsIsDeclaredByItsProgram)
{
    runFrame(0.1f);
    ASSERT_FALSE(lookups.empty()) << "the set-up ran before this case could watch it: run the case alone";
    const std::map<GLuint, std::string> names = programNames();
    // Each name once per kind of program: every emitter has programs of its own.
    std::map<std::pair<std::string, std::string>, GLuint> uploads;
    for (const auto& [program, name] : lookups) {
        ASSERT_TRUE(names.contains(program)) << "\"" << name << "\" looked up in program " << program;
        uploads.emplace(std::make_pair(names.at(program), name), program);
    }
    for (const auto& [upload, program] : uploads) {
        if (!UNDECLARED_UPLOADS.contains(upload)) {
            EXPECT_TRUE(Declarations(program).declares(upload.second))
                << "\"" << upload.second << "\" in the " << upload.first << " program";
        }
    }
    // The list above stays true: none of its names has become declared.
    for (const auto& [program, programName] : names) {
        for (const auto& [listedProgram, name] : UNDECLARED_UPLOADS) {
            if (listedProgram == programName) {
                EXPECT_FALSE(Declarations(program).declares(name)) << "\"" << name << "\" in " << programName;
            }
        }
    }
}
