// The 60-byte particle record as the GPU writes it, and reading it back.
#pragma once

#include "particles/particle_system.h"

#include <glm/glm.hpp>

#include <cstdint>
#include <vector>

struct ParticleRecord {
    glm::vec3 position;
    glm::vec3 velocity;
    glm::vec3 color;
    float lifeTime;
    float size;
    float frameMillis;  // time each atlas frame is shown
    float ageMillis;
    std::int32_t type;
    std::int32_t texPos;
};
static_assert(sizeof(ParticleRecord) == PARTICLE_STRIDE);

std::vector<ParticleRecord> readParticles(GLuint buffer, int count);
void writeParticles(GLuint buffer, const std::vector<ParticleRecord>& records);
