// Shutdown: releases the objects that have an owner with a destructor; the rest
// goes with the process.
#include "app/scene.h"

#include "app/scene_state.h"
#include "physics/physics_world.h"
#include "render/light_volume_texture.h"
#include "render/lights.h"
#include "render/multisampled_target.h"
#include "render/scaled_target_set.h"
#include "render/shader.h"
#include "render/shader_program.h"
#include "render/shadow_map_target.h"

namespace {

// The record's pointer never outlives what it points to.
template <typename Owned> void release(Owned*& owned)
{
    delete owned;
    owned = nullptr;
}

} // namespace

void shutdownScene()
{
    release(scene.shadowTarget);
    release(scene.lightVolume);
    release(scene.scaledTargets);
    release(scene.multisampledTarget);

    // The light uniforms own the basic program.
    release(scene.lightUniforms);
    scene.basicProgram = nullptr;

    destroyPhysicsWorld(scene.physics);

    release(scene.skyVert);
    release(scene.skyFrag);
    release(scene.skyProgram);
}
