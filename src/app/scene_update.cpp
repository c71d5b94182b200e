// The per-frame update: everything that changes with time, before the render.
#include "app/scene.h"

#include "app/scene_state.h"
#include "audio/audio_player.h"
#include "camera/bounding_box.h"
#include "camera/camera.h"
#include "layout/scene_layout.h"
#include "model/model.h"
#include "particles/particle_system.h"
#include "physics/physics_world.h"
#include "render/shader_program.h"

#include <GL/glew.h>
#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <cstdlib>

namespace {

// Once the camera has finished its route the sun turns and the sky dims, until
// the sky light falls below its threshold; then both hold for good.
void advanceSunset(float dt)
{
    if (!scene.camera->path.finished || scene.skyDimmed)
        return;
    scene.lightRotation = glm::rotate(scene.lightRotation, dt * layout::SUNSET_DEGREES_PER_SECOND * 0.017453292f,
                                      glm::vec3(0.0f, 0.0f, 1.0f));
    if (scene.skyLight >= layout::SKY_LIGHT_FLOOR)
        scene.skyLight = static_cast<float>(scene.skyLight - dt * layout::SKY_DIMMING_PER_SECOND);
    glUseProgram(scene.skyProgram->id);
    glUniform1f(glGetUniformLocation(scene.skyProgram->id, "light"), scene.skyLight);
    if (scene.skyLight < layout::SKY_DIMMED_BELOW)
        scene.skyDimmed = true;
}

// A new random flicker every frame: about half of all frames give the maximum.
void advanceFlicker()
{
    const int r = std::rand();
    const float v = (static_cast<float>(r % 1000) + scene.flicker - 0.3f) / 100.0f;
    scene.flicker = std::min(std::max(v, 0.0f), 5.0f);
}

} // namespace

void updateScene(float dt)
{
    updateAudio(*scene.audio);
    stepPhysics(scene.physics, dt);
    scene.camera->update(dt);
    advanceSunset(dt);

    for (Model* model : scene.models)
        model->updateTransforms();
    scene.roomBounds->transform(scene.room->modelMatrix);

    for (ParticleSystem* emitter : scene.emitters)
        emitter->update(dt);

    advanceFlicker();
}
