// The scene's particle emitters, each built from one row of settings.
#pragma once

struct EmitterSettings;
class ParticleSystem;

// Builds the emitter of one row on its kind's texture, facing the camera, appends
// it to the scene's emitters and points the named member of its kind at it.
// Needs the camera and the particle textures.
ParticleSystem* addEmitter(const EmitterSettings& row);
