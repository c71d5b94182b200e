// The program-wide record of shared state. Set-up fills it, the per-frame update
// and the frame passes read and write it; the objects it points to live on the heap.
#pragma once

#include "camera/render_settings.h"
#include "layout/scene_layout.h"
#include "physics/physics_world.h"
#include "render/lights.h"
#include "render/quality_tier.h"

#include <glm/glm.hpp>

#include <vector>

struct GLFWwindow;
class AtlasTexture;
class AudioPlayer;
class BoundingBox;
class Camera;
class Frustum;
class LightVolumeTexture;
class Model;
class ParticleSystem;
class MultisampledTarget;
class ScaledTargetSet;
class Shader;
class ShaderProgram;
class ShadowMapTarget;
class Skybox;

struct SceneState {
    // Null where the scene draws into a window that another program made; the
    // size below is then written by whoever draws, before every frame.
    GLFWwindow* window = nullptr;
    int windowWidth = 0;
    int windowHeight = 0;

    AudioPlayer* audio = nullptr;
    // False: the set-up never starts the sound system, and the scene is silent.
    bool soundOn = true;
    Camera* camera = nullptr;
    Frustum* frustum = nullptr;

    Shader* basicVert = nullptr;
    Shader* basicFrag = nullptr;
    Shader* shadowVert = nullptr;
    Shader* shadowFrag = nullptr;
    Shader* skyVert = nullptr;
    Shader* skyFrag = nullptr;
    Shader* pointShadowVert = nullptr;
    Shader* pointShadowGeom = nullptr;
    Shader* pointShadowFrag = nullptr;
    ShaderProgram* basicProgram = nullptr;
    ShaderProgram* shadowProgram = nullptr;
    ShaderProgram* pointShadowProgram = nullptr;
    ShaderProgram* skyProgram = nullptr;
    // The main pass's vertex stage with an empty fragment stage: lays down the
    // depth of the visible surfaces so that the lit stage shades each pixel once.
    ShaderProgram* depthProgram = nullptr;

    DirectionalLight directionalLight;
    PointLight pointLight;
    glm::mat4 lightRotation{1.0f};
    float flicker = 0.0f;
    LightUniforms* lightUniforms = nullptr;

    std::vector<Model*> models;
    Model* room = nullptr;
    BoundingBox* roomBounds = nullptr;

    AtlasTexture* particleTexture = nullptr;
    AtlasTexture* fireAtlas = nullptr;
    AtlasTexture* smokeTexture = nullptr;
    // Every emitter, one for each row of the scene's emitter table and in its
    // order, which is also the order of their updates and draws. The three named
    // members below point into it, by each row's kind.
    std::vector<ParticleSystem*> emitters;
    std::vector<ParticleSystem*> snowParticles;
    ParticleSystem* fireParticles = nullptr;
    ParticleSystem* smokeParticles = nullptr;

    ShadowMapTarget* shadowTarget = nullptr;
    LightVolumeTexture* lightVolume = nullptr; // the room's baked light
    Skybox* skybox = nullptr;
    PhysicsWorld physics;

    float skyLight = layout::SKY_LIGHT_START;
    bool skyDimmed = false;
    glm::mat4 lightViewProj{1.0f};
    int objectsRendered = 0;

    // The share of the window's width and height the scene's own passes draw at;
    // at 1 they draw straight to the window. A size's target is made on the
    // first frame drawn at it.
    float renderScale = 1.0f;
    ScaledTargetSet* scaledTargets = nullptr;
    // The high tier's multisampled scene, at the size the scene is drawn at;
    // made on its first frame.
    MultisampledTarget* multisampledTarget = nullptr;

    // What the program asked for before the set-up, and the tier the set-up chose
    // from it; every pass reads the tier from here.
    QualityRequest qualityRequest;
    QualityTier qualityTier = QualityTier::Low;

    RenderSettings settings;
};

extern SceneState scene;
