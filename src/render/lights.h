// The two light records of the scene and the object that uploads them to the
// basic program under the names its fragment stage declares.
#pragma once

#include "platform/non_copyable.h"

#include <glm/glm.hpp>

#include <vector>

class ShaderProgram;

struct BaseLight {
    glm::vec3 Color{0.0f};
    float AmbientIntensity = 0.0f;
    float DiffuseIntensity = 0.0f;
};

struct DirectionalLight {
    BaseLight Base;
    glm::vec3 Direction{0.0f};
};

struct LightAttenuation {
    float Constant = 0.0f;
    float Linear = 0.0f;
    float Exp = 0.0f;
};

struct PointLight {
    BaseLight Base;
    glm::vec3 Position{0.0f};
    LightAttenuation Atten;
};

// Owns its program: the destructor deletes it.
class LightUniforms : NonCopyable {
public:
    explicit LightUniforms(ShaderProgram* program);
    ~LightUniforms();

    void setDirectionalLight(const DirectionalLight& light);
    void setPointLights(const std::vector<PointLight>& lights);
    void setEyeWorldPos(glm::vec3 position);

    ShaderProgram* program = nullptr;
};
