// The fixed sequence of GPU passes that turns the scene into one image: the sun's
// shadow map and the fire's cube shadow map (each only when what it depends on
// changed), the depth of the visible meshes, the lit meshes, the sky, the particles;
// below full scale the last four go to a smaller target that is then scaled up,
// and at the high tier they go to a multisampled target resolved into whichever
// of the two comes next.
#include "render/frame_passes.h"

#include "app/scene_state.h"
#include "camera/bounding_box.h"
#include "camera/camera.h"
#include "camera/frustum.h"
#include "model/model.h"
#include "layout/scene_layout.h"
#include "particles/particle_system.h"
#include "render/light_volume_texture.h"
#include "render/multisampled_target.h"
#include "render/pass_timer.h"
#include "render/scaled_target_set.h"
#include "render/shader_program.h"
#include "render/shadow_map_target.h"
#include "render/skybox.h"

#include <GL/glew.h>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <utility>
#include <vector>

namespace {

constexpr float SHADOW_BOX_MARGIN = 300.0f;

void drawAllMeshes(ShaderProgram* program, bool depthOnly)
{
    for (Model* model : scene.models)
        for (Mesh& mesh : model->meshes)
            mesh.draw(*program, depthOnly);
}

// The sun's camera sits at the centre of the room's world box, looking along the
// turned light direction; the ortho volume covers the box plus a margin. The
// box's z size sets the width and its x size the depth range.
glm::mat4 sunViewProjection()
{
    const BoundingBox& box = *scene.roomBounds;
    const glm::vec3 centre = box.worldCorners[0] + 0.5f * box.extents;
    const glm::vec3 direction = glm::vec3(scene.lightRotation * glm::vec4(scene.directionalLight.Direction, 1.0f));
    const glm::mat4 view = glm::lookAt(centre, centre + direction, glm::vec3(0.0f, 1.0f, 0.0f));
    const glm::vec3 half = (box.extents + SHADOW_BOX_MARGIN) / 2.0f;
    const glm::mat4 projection = glm::ortho(-half.z, half.z, -half.y, half.y, -half.x, half.x);
    return projection * view;
}

void renderSunShadow()
{
    glUseProgram(scene.shadowProgram->id);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, scene.shadowTarget->directionalFbo);
    glViewport(0, 0, SHADOW_MAP_SIZE, SHADOW_MAP_SIZE);
    glClear(GL_DEPTH_BUFFER_BIT);
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(10.0f, 0.0f);

    scene.shadowProgram->setMat4("view_proj", scene.lightViewProj);
    drawAllMeshes(scene.shadowProgram, true);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
}

// One layered pass fills all six faces; the geometry stage picks the face.
void renderFireShadow()
{
    glUseProgram(scene.pointShadowProgram->id);
    const glm::vec4 lightPosition(scene.pointLight.Position, 1.0f);
    // A fixed upload no stage of this program declares.
    glUniform4fv(glGetUniformLocation(scene.pointShadowProgram->id, "lightPosition"), 1, glm::value_ptr(lightPosition));
    glBindFramebuffer(GL_FRAMEBUFFER, scene.shadowTarget->pointFbo);
    glViewport(0, 0, SHADOW_MAP_SIZE, SHADOW_MAP_SIZE);
    glClear(GL_DEPTH_BUFFER_BIT);
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(10.0f, 0.0f);
    drawAllMeshes(scene.pointShadowProgram, true);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

// Every mesh casts into both maps, whether the camera sees it or not.
std::vector<glm::mat4> casterMatrices()
{
    std::vector<glm::mat4> matrices;
    for (const Model* model : scene.models)
        for (const Mesh& mesh : model->meshes)
            matrices.push_back(mesh.modelMatrix);
    return matrices;
}

void bindShadowMaps()
{
    glActiveTexture(GL_TEXTURE0 + SHADOW_MAP_UNIT);
    glBindTexture(GL_TEXTURE_2D, scene.shadowTarget->directionalDepth);
    glActiveTexture(GL_TEXTURE0 + SHADOW_CUBE_UNIT);
    glBindTexture(GL_TEXTURE_CUBE_MAP, scene.shadowTarget->pointDepthCube);
    scene.lightVolume->bind();
}

void setFrameUniforms()
{
    ShaderProgram& program = *scene.basicProgram;
    const Camera& camera = *scene.camera;
    program.setMat4("view_proj", camera.projection * camera.view);
    program.setMat4("view", camera.view); // a fixed upload no stage declares
    program.setMat4("light_view_proj", scene.lightViewProj);
    program.setInt("animate", 0); // a fixed upload no stage declares
    program.setMat4("directionalLight.Rotation", scene.lightRotation);
    scene.lightUniforms->setEyeWorldPos(camera.position);
}

// Depth only, through the main pass's own vertex stage (its gl_Position is
// invariant), so that the lit pass below can test less-or-equal against exactly
// the depth it computes itself, without writing it.
void renderDepthPrepass()
{
    glUseProgram(scene.depthProgram->id);
    const Camera& camera = *scene.camera;
    scene.depthProgram->setMat4("view_proj", camera.projection * camera.view);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    for (Model* model : scene.models)
        for (Mesh& mesh : model->meshes)
            mesh.drawDepth(*scene.depthProgram);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
}

void renderMeshes()
{
    const GLuint program = scene.lightUniforms->program->id;
    const float fireIntensity = scene.pointLight.Base.DiffuseIntensity + scene.flicker;
    scene.basicProgram->setFloat("pointLights[0].Base.DiffuseIntensity", fireIntensity);
    scene.basicProgram->setFloat("bakedFireScale", fireIntensity / layout::FIRE_LIGHT_DIFFUSE);
    scene.basicProgram->setFloat("bakedSkyScale", scene.skyLight / layout::SKY_LIGHT_START);
    const float one = 1.0f;
    for (Model* model : scene.models) {
        glUseProgram(program);
        glUniform1fv(glGetUniformLocation(program, "matSpecularIntensity"), 1, &one);
        glUseProgram(program);
        glUniform1fv(glGetUniformLocation(program, "specularPower"), 1, &one);
        for (Mesh& mesh : model->meshes)
            mesh.draw(*scene.basicProgram, false);
    }
    glBindTexture(GL_TEXTURE_2D, 0);
}

// Below full scale the scene's own passes draw into the smaller target, which
// is returned; one that cannot be completed leaves them drawing straight to the
// window, and null is returned as at full scale.
ScaledTarget* beginScaledScene()
{
    if (scene.renderScale >= 1.0f)
        return nullptr;
    if (scene.scaledTargets == nullptr)
        scene.scaledTargets = new ScaledTargetSet();
    const int width = scaledEdge(scene.windowWidth, scene.renderScale);
    const int height = scaledEdge(scene.windowHeight, scene.renderScale);
    ScaledTarget& target = scene.scaledTargets->forSize(width, height);
    return target.bind(width, height) ? &target : nullptr;
}

// At the high tier the scene's own passes draw into the multisampled target of
// the size the scene is drawn at, which is returned. A window that multisamples
// itself needs none, and without one (no multisampling offered, or a target
// that cannot be completed) they draw into `next` as at the low tier.
MultisampledTarget* beginMultisampledScene(const ScaledTarget* scaled)
{
    if (scene.qualityTier != QualityTier::High)
        return nullptr;
    GLint windowSamples = 0;
    if (scaled == nullptr)
        glGetIntegerv(GL_SAMPLES, &windowSamples);
    if (windowSamples > 0)
        return nullptr;
    if (scene.multisampledTarget == nullptr)
        scene.multisampledTarget = new MultisampledTarget();
    const GLuint next = scaled != nullptr ? scaled->fbo : 0;
    const int width = scaled != nullptr ? scaled->width : scene.windowWidth;
    const int height = scaled != nullptr ? scaled->height : scene.windowHeight;
    return scene.multisampledTarget->bind(width, height, next) ? scene.multisampledTarget : nullptr;
}

} // namespace

// The light-space matrix is rebuilt every frame for the main pass; a map is
// rasterised again only when what it was drawn from has changed.
void renderShadowMaps()
{
    scene.lightViewProj = sunViewProjection();
    ShadowMapTarget& target = *scene.shadowTarget;
    const bool always = scene.settings.redrawShadowMaps;
    const ShadowMapInputs casters{glm::mat4(1.0f), casterMatrices(), scene.settings.wireframe};

    ShadowMapInputs sunInputs = casters;
    sunInputs.light = scene.lightViewProj;
    if (target.directionalCache.needsDraw(std::move(sunInputs), always)) {
        beginPassTiming(FramePass::DirectionalShadow);
        renderSunShadow();
        endPassTiming(FramePass::DirectionalShadow);
    }

    ShadowMapInputs fireInputs = casters;
    fireInputs.light = glm::translate(glm::mat4(1.0f), scene.pointLight.Position);
    if (target.pointCache.needsDraw(std::move(fireInputs), always)) {
        beginPassTiming(FramePass::PointShadow);
        renderFireShadow();
        endPassTiming(FramePass::PointShadow);
    }

    glDisable(GL_POLYGON_OFFSET_FILL);
    glViewport(0, 0, scene.windowWidth, scene.windowHeight);
}

void renderFrame()
{
    renderShadowMaps();
    ScaledTarget* const scaled = beginScaledScene();
    const MultisampledTarget* const multisampled = beginMultisampledScene(scaled);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    beginPassTiming(FramePass::Main);
    renderDepthPrepass();
    glUseProgram(scene.basicProgram->id);
    scene.frustum->objectCount = 0;
    bindShadowMaps();
    setFrameUniforms();
    const Camera& camera = *scene.camera;
    for (ParticleSystem* emitter : scene.emitters)
        emitter->setMatrices(camera.getProjection(), camera.getPosition(), camera.getCenter(), camera.getUp());
    // Each visible pixel is shaded once: only the surface the pre-pass kept
    // passes, and the depth it laid down stays as it is.
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_FALSE);
    renderMeshes();
    glDepthMask(GL_TRUE);
    glDepthFunc(GL_LESS);
    endPassTiming(FramePass::Main);

    beginPassTiming(FramePass::Sky);
    drawSky();
    endPassTiming(FramePass::Sky);

    beginPassTiming(FramePass::Particles);
    for (ParticleSystem* emitter : scene.emitters)
        emitter->render();
    endPassTiming(FramePass::Particles);

    if (multisampled != nullptr)
        multisampled->resolve(scaled != nullptr ? scaled->fbo : 0);
    if (scaled != nullptr)
        scaled->scaleUp(scene.windowWidth, scene.windowHeight);

    scene.objectsRendered = scene.frustum->objectCount;
}
