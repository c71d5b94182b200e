// Generator settings of the scene's emitters, for tests that need realistic ones.
#pragma once

#include "particles/particle_system.h"

#include <glm/glm.hpp>

struct EmitterSettings {
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

    void applyTo(ParticleSystem& system) const
    {
        system.setGenerator(position, velocityMin, velocityMax, gravity, color, lifeMin, lifeMax, size, period, count);
    }
};

inline const EmitterSettings SNOW{{20.0f, 175.0f, -140.121f}, {-5, -5, 0}, {-10, -25, -10}, {0.4f, 0.4f, 0.4f},
                                  {1, 1, 1}, 1.5f, 20.0f, 0.4f, 0.02f, 5};
inline const EmitterSettings FIRE{{212, 10, -4}, {-4, 0, -4}, {4, 15, 4}, {0, 0, 0}, {0.7f, 0.2f, 0.1f},
                                  0.5f, 2.0f, 4.0f, 0.08f, 20};
inline const EmitterSettings PLUME{{64, 33, -31}, {-0.02f, 0.2f, -0.02f}, {0.02f, 0.3f, 0.02f}, {0, 0, 0},
                                   {0.01f, 0.01f, 0.011f}, 8.0f, 50.0f, 0.5f, 0.5f, 20};
