// Shutdown: releases the objects that have an owner with a destructor; the rest
// goes with the process.
#include "app/scene.h"

#include "app/scene_state.h"
#include "physics/physics_world.h"
#include "render/lights.h"
#include "render/shader.h"
#include "render/scaled_target_set.h"
#include "render/shader_program.h"
#include "render/shadow_map_target.h"

void shutdownScene()
{
    delete scene.shadowTarget;
    scene.shadowTarget = nullptr;
    delete scene.scaledTargets;
    scene.scaledTargets = nullptr;

    // The light uniforms own the basic program.
    delete scene.lightUniforms;
    scene.lightUniforms = nullptr;
    scene.basicProgram = nullptr;

    destroyPhysicsWorld(scene.physics);

    delete scene.skyVert;
    scene.skyVert = nullptr;
    delete scene.skyFrag;
    scene.skyFrag = nullptr;
    delete scene.skyProgram;
    scene.skyProgram = nullptr;
}
