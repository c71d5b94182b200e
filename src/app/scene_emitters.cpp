// Building an emitter from a row: texture by kind, generator values, the camera's
// matrices, and its place among the scene's emitters.
#include "app/scene_emitters.h"

#include "app/scene_state.h"
#include "camera/camera.h"
#include "particles/particle_system.h"

namespace {

AtlasTexture* textureOf(EmitterKind kind)
{
    switch (kind) {
    case EmitterKind::Fire:
        return scene.fireAtlas;
    case EmitterKind::Smoke:
        return scene.smokeTexture;
    case EmitterKind::Snow:
        break;
    }
    return scene.particleTexture;
}

void nameByKind(ParticleSystem* emitter)
{
    switch (emitter->kind) {
    case EmitterKind::Fire:
        scene.fireParticles = emitter;
        break;
    case EmitterKind::Smoke:
        scene.smokeParticles = emitter;
        break;
    case EmitterKind::Snow:
        scene.snowParticles.push_back(emitter);
        break;
    }
}

} // namespace

ParticleSystem* addEmitter(const EmitterSettings& row)
{
    ParticleSystem* emitter = new ParticleSystem(textureOf(row.kind));
    emitter->init();
    emitter->configure(row);
    const Camera& camera = *scene.camera;
    emitter->setMatrices(camera.getProjection(), camera.getPosition(), camera.getCenter(), camera.getUp());
    scene.emitters.push_back(emitter);
    nameByKind(emitter);
    return emitter;
}
