// One GPU particle emitter: the particles live only in two GL buffers, stepped by
// transform feedback every frame and drawn as camera-facing sprites.
#pragma once

#include "layout/emitter_settings.h"
#include "platform/non_copyable.h"
#include "render/shader.h"
#include "render/shader_program.h"

#include <GL/glew.h>
#include <glm/glm.hpp>

#include <memory>

class AtlasTexture;

constexpr int PARTICLE_CAPACITY = 100000;
// Bytes of one particle record: the vertex layout and the feedback layout at once.
constexpr int PARTICLE_STRIDE = 60;

class ParticleSystem : NonCopyable {
public:
    explicit ParticleSystem(AtlasTexture* texture);

    // Builds the programs and GPU resources; false when already done.
    bool init();
    void setGenerator(const glm::vec3& position, const glm::vec3& velocityMin, const glm::vec3& velocityMax,
                      const glm::vec3& gravity, const glm::vec3& color, float lifeMin, float lifeMax, float size,
                      float period, int count);
    // The row's kind, then its generator values.
    void configure(const EmitterSettings& settings);
    void update(float dt);

    void setMatrices(const glm::mat4& projection, const glm::vec3& eye, const glm::vec3& center,
                     const glm::vec3& up);
    void render();

    // Tells the render stages how to shape and colour the sprites.
    EmitterKind kind = EmitterKind::Snow;
    bool blendEnabled = true;
    bool initialized = false;
    AtlasTexture* texture = nullptr;
    GLuint transformFeedback = 0;
    GLuint buffers[2] = {};
    GLuint vertexArrays[2] = {};
    GLuint query = 0;
    int current = 0;
    int particleCount = 0;
    glm::mat4 projection{1.0f};
    glm::mat4 view{1.0f};
    glm::vec3 quad1{0.0f};
    glm::vec3 quad2{0.0f};
    float elapsed = 0.8f;
    float period = 0.0f;
    glm::vec3 genPosition{0.0f};
    glm::vec3 genVelocityMin{0.0f};
    glm::vec3 genVelocityRange{0.0f};
    glm::vec3 genGravity{0.0f};
    glm::vec3 genColor{0.0f};
    float genLifeMin = 0.0f;
    float genLifeRange = 0.0f;
    float genSize = 0.0f;
    int genCount = 0;
    std::unique_ptr<Shader> renderVertexShader;
    std::unique_ptr<Shader> renderGeometryShader;
    std::unique_ptr<Shader> renderFragmentShader;
    std::unique_ptr<Shader> updateVertexShader;
    std::unique_ptr<Shader> updateGeometryShader;
    ShaderProgram renderProgram;
    ShaderProgram updateProgram;

private:
    void buildUpdateProgram();
    void buildRenderProgram();
    void createParticleBuffers();
};
