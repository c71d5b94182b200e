// Scene set-up: every constant of the scene and every load happens here, once,
// in a fixed order, before the first frame.
#include "app/scene.h"

#include "app/scene_emitters.h"
#include "app/scene_state.h"
#include "app/startup_profile.h"
#include "audio/audio_player.h"
#include "camera/bounding_box.h"
#include "camera/camera.h"
#include "camera/frustum.h"
#include "camera/window_size.h"
#include "layout/scene_layout.h"
#include "model/model.h"
#include "physics/physics_world.h"
#include "render/atlas_texture.h"
#include "render/gl_label.h"
#include "render/light_volume_texture.h"
#include "render/shader.h"
#include "render/shader_program.h"
#include "render/shadow_map_target.h"
#include "render/skybox.h"
#include "render/quality_tier.h"
#include "render/texture_path.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>
#include <glm/gtc/matrix_transform.hpp>

#include <span>
#include <string>

namespace {

// The fire light's cube-face views: GL face order, looking from the light along
// each axis with the up vectors the cube-map layout expects.
struct CubeFace {
    glm::vec3 direction;
    glm::vec3 up;
};

constexpr CubeFace CUBE_FACES[6] = {
    {{1.0f, 0.0f, 0.0f}, {0.0f, -1.0f, 0.0f}},  {{-1.0f, 0.0f, 0.0f}, {0.0f, -1.0f, 0.0f}},
    {{0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}},   {{0.0f, -1.0f, 0.0f}, {0.0f, 0.0f, -1.0f}},
    {{0.0f, 0.0f, 1.0f}, {0.0f, -1.0f, 0.0f}},  {{0.0f, 0.0f, -1.0f}, {0.0f, -1.0f, 0.0f}},
};

const char* const MODEL_FILES[] = {
    "Assets/scene/test-branches.obj",    "Assets/scene/test-room-fireplace.obj",
    "Assets/scene/curtains.obj",         "Assets/scene/test-pictures.obj",
    "Assets/scene/test-sofa.obj",        "Assets/scene/test-decke.obj",
    "Assets/scene/test-presents.obj",    "Assets/scene/scene-cats.obj",
    "Assets/scene/test-table.obj",       "Assets/scene/test-book-glasses.obj",
    "Assets/scene/test-cigar.obj",       "Assets/scene/scene-penis.obj",
    "Assets/scene/test-tree-decor.obj",  "Assets/scene/morepenis.obj",
};
constexpr int ROOM_MODEL = 1;

void setupShaders()
{
    scene.basicVert = new Shader("Shader\\Basic.vert", GL_VERTEX_SHADER);
    scene.qualityTier = detectQualityTier(scene.qualityRequest);
    scene.basicFrag = new Shader("Shader\\basic.frag", GL_FRAGMENT_SHADER,
                                 texturePathDefinitions(detectTexturePath()) + qualityTierDefinitions(scene.qualityTier));
    scene.shadowVert = new Shader("Shader\\shadow.vert", GL_VERTEX_SHADER);
    scene.shadowFrag = new Shader("Shader\\shadow.frag", GL_FRAGMENT_SHADER);
    scene.skyVert = new Shader("Shader\\skybox.vert", GL_VERTEX_SHADER);
    scene.skyFrag = new Shader("Shader\\skybox.frag", GL_FRAGMENT_SHADER);
    scene.pointShadowVert = new Shader("Shader\\omnidirShadow.vert", GL_VERTEX_SHADER);
    scene.pointShadowGeom = new Shader("Shader\\omnidirShadow.geom", GL_GEOMETRY_SHADER);
    scene.pointShadowFrag = new Shader("Shader\\omnidirShadow.frag", GL_FRAGMENT_SHADER);

    scene.basicProgram = new ShaderProgram({scene.basicVert, scene.basicFrag});
    scene.basicProgram->link();
    scene.shadowProgram = new ShaderProgram({scene.shadowVert, scene.shadowFrag});
    scene.shadowProgram->link();
    scene.pointShadowProgram =
        new ShaderProgram({scene.pointShadowVert, scene.pointShadowGeom, scene.pointShadowFrag});
    scene.pointShadowProgram->link();
    scene.skyProgram = new ShaderProgram({scene.skyVert, scene.skyFrag});
    scene.skyProgram->link();
    scene.depthProgram = new ShaderProgram({scene.basicVert, scene.shadowFrag});
    scene.depthProgram->link();
    labelObject(GL_PROGRAM, scene.depthProgram->id, "depth pre-pass");
}

void setupLights()
{
    scene.directionalLight.Base.Color = layout::SUN_COLOUR;
    scene.directionalLight.Base.AmbientIntensity = layout::SUN_AMBIENT;
    scene.directionalLight.Base.DiffuseIntensity = layout::SUN_DIFFUSE;
    scene.directionalLight.Direction = layout::SUN_DIRECTION * (1.0f / glm::length(layout::SUN_DIRECTION));
    scene.lightRotation = glm::rotate(glm::mat4(1.0f), 0.0f, glm::vec3(1.0f, 0.0f, 0.0f));

    scene.pointLight.Base.Color = layout::FIRE_LIGHT_COLOUR;
    scene.pointLight.Base.AmbientIntensity = layout::FIRE_LIGHT_AMBIENT;
    scene.pointLight.Base.DiffuseIntensity = layout::FIRE_LIGHT_DIFFUSE;
    scene.pointLight.Position = layout::FIRE_LIGHT;
    scene.pointLight.Atten.Constant = layout::FIRE_LIGHT_CONSTANT;
    scene.pointLight.Atten.Linear = layout::FIRE_LIGHT_LINEAR;
    scene.pointLight.Atten.Exp = layout::FIRE_LIGHT_EXP;
    scene.flicker = 0.0f;

    scene.lightUniforms = new LightUniforms(scene.basicProgram);
    scene.lightUniforms->setDirectionalLight(scene.directionalLight);
    scene.lightUniforms->setPointLights({scene.pointLight});
}

void setupModels()
{
    std::vector<Model*> loaded;
    for (const char* file : MODEL_FILES)
        loaded.push_back(new Model(file, glm::vec3(0.0f), glm::vec3(0.5f)));
    scene.room = loaded[ROOM_MODEL];

    std::vector<Vertex> roomVertices;
    for (const Mesh& mesh : scene.room->meshes)
        roomVertices.insert(roomVertices.end(), mesh.vertices.begin(), mesh.vertices.end());
    // A room that failed to import has no vertices: its box stays empty at the origin.
    scene.roomBounds = new BoundingBox();
    scene.roomBounds->fitToVertices(roomVertices);

    scene.models = loaded;
}

// The baked light and the lit pass's uniforms that find it.
void setupLightVolume()
{
    scene.lightVolume = new LightVolumeTexture(LIGHT_VOLUME_FILE);
    scene.lightVolume->bind();
    glUseProgram(scene.basicProgram->id);
    scene.basicProgram->setInt("lightAmbient", LIGHT_AMBIENT_UNIT);
    scene.basicProgram->setInt("lightLocal", LIGHT_LOCAL_UNIT);
    const GLuint program = scene.basicProgram->id;
    const glm::vec3 boxSize = scene.lightVolume->boxHigh - scene.lightVolume->boxLow;
    glUniform3fv(glGetUniformLocation(program, "lightBoxLow"), 1, &scene.lightVolume->boxLow.x);
    glUniform3fv(glGetUniformLocation(program, "lightBoxSize"), 1, &boxSize.x);
}

// Both shadow maps and the uniforms that stay fixed for the whole run.
void setupShadows(const glm::mat4 (&faceViews)[6])
{
    const glm::vec2 nearFar(scene.camera->nearPlane, scene.camera->farPlane);

    scene.shadowTarget = new ShadowMapTarget();
    scene.shadowTarget->initDirectional();

    glUseProgram(scene.basicProgram->id);
    scene.basicProgram->setInt("shadowMap", SHADOW_MAP_UNIT);
    scene.basicProgram->setVec2("mapSize", glm::vec2(static_cast<float>(SHADOW_MAP_SIZE)));
    scene.basicProgram->setInt("cubemap", SHADOW_CUBE_UNIT);
    scene.basicProgram->setVec2("nearFar", nearFar);

    glUseProgram(scene.shadowProgram->id);
    scene.shadowProgram->setInt("ShadowMap", SHADOW_MAP_UNIT); // a fixed upload no stage declares

    scene.shadowTarget->initPoint();

    // The cube's projection ends at half the camera's far distance, while the
    // shaders scale distances by the camera's own near and far values.
    glUseProgram(scene.pointShadowProgram->id);
    const glm::mat4 cubeProjection =
        glm::perspective(1.5707964f, 1.0f, scene.camera->nearPlane, scene.camera->farPlane * 0.5f);
    for (int i = 0; i < 6; ++i)
        scene.pointShadowProgram->setMat4("cubemapMat[" + std::to_string(i) + "]", cubeProjection * faceViews[i]);
    scene.pointShadowProgram->setVec2("nearFar", nearFar); // a fixed upload no stage declares
}

} // namespace

void setupScene()
{
    glEnable(GL_DEPTH_TEST);
    // The fire's shadow filter blends texels across the cube's face edges.
    glEnable(GL_TEXTURE_CUBE_MAP_SEAMLESS);
    // A window that another program made is only drawn into: its title and its
    // input are that program's.
    if (scene.window != nullptr) {
        glfwSetWindowTitle(scene.window, "Frostember");
        glfwSetInputMode(scene.window, GLFW_STICKY_KEYS, GLFW_TRUE);
        glfwSetInputMode(scene.window, GLFW_STICKY_MOUSE_BUTTONS, GLFW_TRUE);
    }

    scene.audio = new AudioPlayer();
    if (scene.soundOn)
        startAudio(*scene.audio);
    markStartupStage("audio");

    scene.camera = new Camera(scene.window);
    scene.frustum = new Frustum(scene.camera);
    setupShaders();
    markStartupStage("shaders");
    setupLights();

    glm::mat4 faceViews[6];
    for (int i = 0; i < 6; ++i)
        faceViews[i] = glm::lookAt(glm::vec3(0.0f), CUBE_FACES[i].direction, CUBE_FACES[i].up) *
                       glm::translate(glm::mat4(1.0f), -scene.pointLight.Position);

    setupModels();
    markStartupStage("models");
    setupLightVolume();
    markStartupStage("light bake");
    readWindowSize(scene.window, scene.windowWidth, scene.windowHeight);

    scene.particleTexture = new AtlasTexture("Assets\\particle.bmp", 1, 1);
    scene.fireAtlas = new AtlasTexture("Assets\\FXT_Fire_Flames_01_Atlas_dblur.png", 4, 4);
    scene.smokeTexture = new AtlasTexture("Assets\\maxresdefaultblur.jpg", 1, 1);
    markStartupStage("particle textures");

    // The first emitter is built before the shadow maps, the others after them.
    const std::span<const EmitterSettings> emitters(layout::EMITTERS);
    addEmitter(emitters.front());

    setupShadows(faceViews);
    markStartupStage("shadow maps");

    for (const EmitterSettings& row : emitters.subspan(1))
        addEmitter(row);
    markStartupStage("particles");

    glUseProgram(scene.skyProgram->id);
    scene.skyProgram->setFloat("light", layout::SKY_LIGHT_START);

    createPhysicsWorld(scene.physics, scene.camera->getPosition());
    scene.camera->body = scene.physics.viewerBody;
    markStartupStage("physics");

    scene.skybox = new Skybox(scene.camera, scene.skyProgram);
    scene.skybox->init("Assets/skybox", "iceflats_rt.jpg", "iceflats_lf.jpg", "iceflats_dn.jpg", "iceflats_up.jpg",
                       "iceflats_bk.jpg", "iceflats_ft.jpg");
    markStartupStage("sky");
}
