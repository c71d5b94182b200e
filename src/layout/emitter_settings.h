// One particle emitter of the scene as a row of settings: what kind of emitter it
// is and the generator values it starts with.
#pragma once

#include <glm/glm.hpp>

// The particle shaders shape and colour each kind differently; the values are
// theirs (the KIND_ constants of Shader/particles_render.*).
enum class EmitterKind { Snow = 0, Fire = 1, Smoke = 2 };

// The generator values in the order ParticleSystem::setGenerator takes them.
struct EmitterSettings {
    EmitterKind kind;
    glm::vec3 position;
    glm::vec3 velocityMin;
    glm::vec3 velocityMax;
    glm::vec3 gravity;
    glm::vec3 color;
    float lifeMin;
    float lifeMax;
    float size;
    float period;
    int count;
};
