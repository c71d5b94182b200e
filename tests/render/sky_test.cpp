// The sky against the real driver: face paths and order, the fatal missing face,
// the sphere import, and frames drawn with the scene's sky shaders.
#include "app/scene_state.h"
#include "camera/camera.h"
#include "render/cube.h"
#include "render/cubemap_texture.h"
#include "render/shader.h"
#include "render/shader_program.h"
#include "render/skybox.h"
#include "support/gl_context.h"
#include "support/offscreen_target.h"
#include "support/process.h"
#include "support/run_dir.h"

#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>
#include <stb/stb_image_write.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Rgb = std::array<unsigned char, 3>;

const char* const kFaces[6] = {"iceflats_rt.jpg", "iceflats_lf.jpg", "iceflats_dn.jpg",
                               "iceflats_up.jpg", "iceflats_bk.jpg", "iceflats_ft.jpg"};

// Distinct colours for +X, -X, +Y, -Y, +Z, -Z.
const Rgb kFaceColours[6] = {{{200, 30, 30}},  {{30, 200, 30}},  {{30, 30, 200}},
                             {{200, 200, 30}}, {{200, 30, 200}}, {{30, 200, 200}}};

// A PNG of `size` x `size` pixels; `top` colours the top row, `rest` all others.
void writeImage(const std::string& path, int size, Rgb top, Rgb rest)
{
    std::vector<unsigned char> pixels;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const Rgb& c = y == 0 ? top : rest;
            pixels.insert(pixels.end(), c.begin(), c.end());
        }
    ASSERT_NE(stbi_write_png(path.c_str(), size, size, 3, pixels.data(), size * 3), 0) << path;
}

// A closed UV sphere around the origin with positions, normals and texture coordinates.
void writeSphere(const std::string& path, float radius)
{
    constexpr int stacks = 12;
    constexpr int slices = 24;
    std::ofstream obj(path);
    for (int i = 0; i <= stacks; ++i)
        for (int j = 0; j <= slices; ++j) {
            const float theta = glm::pi<float>() * static_cast<float>(i) / stacks;
            const float phi = glm::two_pi<float>() * static_cast<float>(j) / slices;
            const glm::vec3 n(std::sin(theta) * std::cos(phi), std::cos(theta), std::sin(theta) * std::sin(phi));
            obj << "v " << radius * n.x << ' ' << radius * n.y << ' ' << radius * n.z << '\n'
                << "vn " << n.x << ' ' << n.y << ' ' << n.z << '\n'
                << "vt " << static_cast<float>(j) / slices << ' ' << static_cast<float>(i) / stacks << '\n';
        }
    const auto index = [](int i, int j) { return std::to_string(i * (slices + 1) + j + 1); };
    const auto corner = [&](int i, int j) { return index(i, j) + '/' + index(i, j) + '/' + index(i, j); };
    for (int i = 0; i < stacks; ++i)
        for (int j = 0; j < slices; ++j)
            obj << "f " << corner(i, j) << ' ' << corner(i + 1, j) << ' ' << corner(i + 1, j + 1) << ' '
                << corner(i, j + 1) << '\n';
}

class SkyTest : public GlTest {
protected:
    static constexpr int kFrame = 48;

    void SetUp() override
    {
        GlTest::SetUp();
        savedDir = std::filesystem::current_path();
        std::filesystem::current_path(dir.path);
        std::filesystem::create_directories("Assets/skybox");
        vertex = new Shader(runDir() + "/Shader/skybox.vert", GL_VERTEX_SHADER);
        fragment = new Shader(runDir() + "/Shader/skybox.frag", GL_FRAGMENT_SHADER);
        program = new ShaderProgram({vertex, fragment});
        program->link();
        setLight(1.0f);
        camera = new Camera(testWindow());
        camera->projection = glm::perspective(1.0471976f, 1.0f, camera->nearPlane, camera->farPlane);
    }

    void TearDown() override
    {
        scene.skybox = nullptr;
        delete skybox;
        delete camera;
        delete program;
        delete fragment;
        delete vertex;
        std::filesystem::current_path(savedDir);
    }

    void setLight(float light)
    {
        glUseProgram(program->id);
        program->setFloat("light", light);
    }

    void writeFaces(const Rgb (&colours)[6])
    {
        for (int i = 0; i < 6; ++i)
            writeImage(std::string("Assets/skybox/") + kFaces[i], 4, colours[i], colours[i]);
    }

    // The scene's sky with the faces and sphere written so far.
    void makeSkybox()
    {
        skybox = new Skybox(camera, program);
        skybox->init("Assets/skybox", kFaces[0], kFaces[1], kFaces[2], kFaces[3], kFaces[4], kFaces[5]);
        scene.skybox = skybox;
    }

    void look(glm::vec3 position, glm::vec3 direction, glm::vec3 up = glm::vec3(0.0f, 1.0f, 0.0f))
    {
        camera->position = position;
        camera->view = glm::lookAt(position, position + direction, up);
    }

    // Clears a small off-screen frame to black at depth `clearDepth`, draws the
    // sky into it and returns its RGBA pixels.
    std::vector<unsigned char> drawFrame(float clearDepth = 1.0f)
    {
        OffscreenTarget target(kFrame);
        EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
        glEnable(GL_DEPTH_TEST);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClearDepth(clearDepth);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glClearDepth(1.0);
        drawSky();
        return target.pixels();
    }

    static Rgb pixelAt(const std::vector<unsigned char>& pixels, int x, int y)
    {
        const unsigned char* p = &pixels[(y * kFrame + x) * 4];
        return {{p[0], p[1], p[2]}};
    }

    // Counts the pixels that differ from `expected` by more than one step in any channel.
    static int countOtherThan(const std::vector<unsigned char>& pixels, Rgb expected)
    {
        int others = 0;
        for (int y = 0; y < kFrame; ++y)
            for (int x = 0; x < kFrame; ++x) {
                const Rgb p = pixelAt(pixels, x, y);
                for (int c = 0; c < 3; ++c)
                    if (std::abs(p[c] - expected[c]) > 1) {
                        ++others;
                        break;
                    }
            }
        return others;
    }

    TempDir dir;
    std::filesystem::path savedDir;
    Shader* vertex = nullptr;
    Shader* fragment = nullptr;
    ShaderProgram* program = nullptr;
    Camera* camera = nullptr;
    Skybox* skybox = nullptr;
};

} // namespace

TEST(CubemapTextureTest, TrailingSlashOrNotGivesTheSamePaths)
{
    const CubemapTexture plain("Assets/skybox", kFaces[0], kFaces[1], kFaces[2], kFaces[3], kFaces[4], kFaces[5]);
    const CubemapTexture slashed("Assets/skybox/", kFaces[0], kFaces[1], kFaces[2], kFaces[3], kFaces[4],
                                 kFaces[5]);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(plain.fileNames[i], std::string("Assets/skybox/") + kFaces[i]);
        EXPECT_EQ(slashed.fileNames[i], plain.fileNames[i]);
    }
    EXPECT_EQ(plain.id, 0u);
}

TEST(CubemapTextureTest, EmptyDirectoryMeansTheWorkingDirectory)
{
    const CubemapTexture texture("", "a.png", "b.png", "c.png", "d.png", "e.png", "f.png");
    EXPECT_EQ(texture.fileNames[0], "a.png");
    EXPECT_EQ(texture.fileNames[5], "f.png");
}

TEST_F(SkyTest, FacesLandInGlFaceOrderBottomRowFirst)
{
    // Each face has a white top row, so the first row read back must be its colour
    // and the last row white.
    for (int i = 0; i < 6; ++i)
        writeImage(std::string("Assets/skybox/") + kFaces[i], 4, {{255, 255, 255}}, kFaceColours[i]);
    CubemapTexture texture("Assets/skybox", kFaces[0], kFaces[1], kFaces[2], kFaces[3], kFaces[4], kFaces[5]);
    ASSERT_TRUE(texture.load());

    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    EXPECT_EQ(active, GL_TEXTURE0);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_CUBE_MAP, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), texture.id);
    for (int face = 0; face < 6; ++face) {
        const GLenum target = GL_TEXTURE_CUBE_MAP_POSITIVE_X + face;
        GLint format = 0;
        glGetTexLevelParameteriv(target, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
        EXPECT_EQ(format, GL_RGB) << face;
        std::vector<unsigned char> texels(4 * 4 * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(target, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
        const Rgb first = {{texels[0], texels[1], texels[2]}};
        const Rgb last = {{texels[45], texels[46], texels[47]}};
        EXPECT_EQ(first, kFaceColours[face]) << "face " << face;
        EXPECT_EQ(last, (Rgb{{255, 255, 255}})) << "face " << face;
    }
    GLint filter = 0;
    glGetTexParameteriv(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, &filter);
    EXPECT_EQ(filter, GL_LINEAR);
    GLint wrap = 0;
    glGetTexParameteriv(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_R, &wrap);
    EXPECT_EQ(wrap, GL_CLAMP_TO_EDGE);
    EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(SkyTest, MissingBackFaceEndsTheProcessAfterFourFaces)
{
    for (int i = 0; i < 6; ++i)
        if (i != 4) {
            std::vector<unsigned char> pixels(8 * 8 * 3, 128);
            const std::string path = std::string("Assets/skybox/") + kFaces[i];
            ASSERT_NE(stbi_write_jpg(path.c_str(), 8, 8, 3, pixels.data(), 90), 0);
        }
    ProcessOptions options;
    options.workDir = dir.path;
    const ProcessResult result = runProcess(SKY_LOAD_PROBE, {}, options);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.status, 255);
    // The message, then the pause's prompt, then the probe's report at exit.
    EXPECT_EQ(result.out.rfind("Error loading Image\n", 0), 0u) << result.out;
    const std::string report = "faces uploaded: 4\n";
    ASSERT_GE(result.out.size(), report.size()) << result.out;
    EXPECT_EQ(result.out.substr(result.out.size() - report.size()), report) << result.out << result.err;
}

TEST_F(SkyTest, UnimportableSphereLeavesTheSkyEmpty)
{
    writeFaces(kFaceColours);
    testing::internal::CaptureStderr();
    makeSkybox();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(skybox->sky->faceCount, 0u);
    EXPECT_EQ(skybox->sky->vao, 0u);
    EXPECT_NE(err.find("Assets\\sphere.obj"), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;

    look(glm::vec3(0.0f), glm::vec3(0.0f, 0.0f, -1.0f));
    const std::vector<unsigned char> pixels = drawFrame();
    EXPECT_EQ(countOtherThan(pixels, {{0, 0, 0}}), 0);
    EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(SkyTest, SphereIsUploadedForTheProgramsAttributes)
{
    writeFaces(kFaceColours);
    writeSphere("Assets/sphere.obj", 1.0f);
    makeSkybox();
    const kesa::scene::Cube& sky = *skybox->sky;
    EXPECT_EQ(sky.faceCount, 12u * 24u * 2u);
    EXPECT_EQ(sky.cubemapUnit, 30);
    EXPECT_NE(sky.positionVbo, 0u);
    EXPECT_NE(sky.normalVbo, 0u);
    EXPECT_NE(sky.uvVbo, 0u);

    // Only "position" is used by the sky shaders; the others must not be enabled at -1.
    glBindVertexArray(sky.vao);
    const GLint position = glGetAttribLocation(program->id, "position");
    ASSERT_NE(position, -1);
    GLint enabled = GL_FALSE;
    glGetVertexAttribiv(static_cast<GLuint>(position), GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
    EXPECT_EQ(enabled, GL_TRUE);
    GLint buffer = 0;
    glGetVertexAttribiv(static_cast<GLuint>(position), GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING, &buffer);
    EXPECT_EQ(static_cast<GLuint>(buffer), sky.positionVbo);
    glBindVertexArray(0);
    EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(SkyTest, DrawSkyRestoresDepthFunctionAndLeavesUnit30Active)
{
    writeFaces(kFaceColours);
    writeSphere("Assets/sphere.obj", 1.0f);
    makeSkybox();
    const glm::vec3 eye(12.0f, -3.0f, 40.0f);
    look(eye, glm::vec3(1.0f, 0.0f, 0.0f));
    glActiveTexture(GL_TEXTURE0);
    glDepthFunc(GL_GREATER);
    drawFrame();

    GLint depthFunc = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunc);
    EXPECT_EQ(depthFunc, GL_GREATER);
    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    EXPECT_EQ(active, GL_TEXTURE0 + 30);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_CUBE_MAP, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), skybox->texture->id);
    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(static_cast<GLuint>(current), program->id);
    GLint sampler = -1;
    glGetUniformiv(program->id, glGetUniformLocation(program->id, "gCubemapTexture"), &sampler);
    EXPECT_EQ(sampler, 30);

    // Centred on the camera and turned half about z.
    const glm::mat4& model = skybox->sky->modelMatrix;
    EXPECT_EQ(glm::vec3(model[3]), eye);
    EXPECT_NEAR(model[0][0], -1.0f, 1e-6f);
    EXPECT_NEAR(model[1][1], -1.0f, 1e-6f);
    EXPECT_NEAR(model[2][2], 1.0f, 1e-6f);
    glDepthFunc(GL_LESS);
    EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(SkyTest, SkyFillsAnEmptyFrameWhereverTheCameraIs)
{
    const Rgb bright = {{240, 180, 120}};
    const Rgb all[6] = {bright, bright, bright, bright, bright, bright};
    writeFaces(all);
    // Radius far beyond the far plane: only the far-plane placement keeps it visible.
    writeSphere("Assets/sphere.obj", 5000.0f);
    makeSkybox();
    glDepthFunc(GL_LESS);

    const glm::vec3 eyes[] = {{0.0f, 0.0f, 0.0f}, {1000.0f, -250.0f, 3000.0f}, {-40.0f, 80.0f, 5.0f}};
    const glm::vec3 directions[] = {{0.0f, 0.0f, -1.0f}, {1.0f, 0.3f, 0.2f}, {-0.2f, -1.0f, 0.4f}};
    for (const glm::vec3& eye : eyes)
        for (const glm::vec3& direction : directions) {
            look(eye, direction);
            EXPECT_EQ(countOtherThan(drawFrame(), bright), 0)
                << "eye " << eye.x << ' ' << eye.y << ' ' << eye.z << " looking " << direction.x << ' '
                << direction.y << ' ' << direction.z;
        }

    setLight(0.5f);
    look(eyes[1], directions[1]);
    EXPECT_EQ(countOtherThan(drawFrame(), {{120, 90, 60}}), 0) << "the light factor scales the colour";
    EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(SkyTest, SkyStaysBehindEverythingAlreadyDrawn)
{
    const Rgb all[6] = {{{250, 250, 250}}, {{250, 250, 250}}, {{250, 250, 250}},
                        {{250, 250, 250}}, {{250, 250, 250}}, {{250, 250, 250}}};
    writeFaces(all);
    // Radius inside the near plane: still drawn at the far plane.
    writeSphere("Assets/sphere.obj", 0.05f);
    makeSkybox();
    look(glm::vec3(5.0f, 5.0f, 5.0f), glm::vec3(0.0f, 0.0f, -1.0f));
    EXPECT_EQ(countOtherThan(drawFrame(1.0f), {{250, 250, 250}}), 0);
    // A depth buffer holding anything nearer than the far plane keeps the sky out.
    EXPECT_EQ(countOtherThan(drawFrame(0.999f), {{0, 0, 0}}), 0);
}

TEST_F(SkyTest, WorldUpSeesTheUpFace)
{
    writeFaces(kFaceColours);
    writeSphere("Assets/sphere.obj", 10.0f);
    makeSkybox();
    const int c = kFrame / 2;
    // The half turn about z maps world (x, y, z) to sphere (-x, -y, z).
    look(glm::vec3(0.0f), glm::vec3(0.0f, 1.0f, 0.0f), glm::vec3(0.0f, 0.0f, -1.0f));
    EXPECT_EQ(pixelAt(drawFrame(), c, c), kFaceColours[3]) << "up: \"iceflats_up\" on -Y";
    look(glm::vec3(0.0f), glm::vec3(0.0f, -1.0f, 0.0f), glm::vec3(0.0f, 0.0f, -1.0f));
    EXPECT_EQ(pixelAt(drawFrame(), c, c), kFaceColours[2]) << "down: \"iceflats_dn\" on +Y";
    look(glm::vec3(0.0f), glm::vec3(1.0f, 0.0f, 0.0f));
    EXPECT_EQ(pixelAt(drawFrame(), c, c), kFaceColours[1]) << "+X sees -X";
    look(glm::vec3(0.0f), glm::vec3(0.0f, 0.0f, 1.0f));
    EXPECT_EQ(pixelAt(drawFrame(), c, c), kFaceColours[4]) << "+Z sees +Z";
}
