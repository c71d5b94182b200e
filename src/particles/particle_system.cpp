// The emitter's GPU resources, its generator settings, the transform-feedback
// step and the sprite draw.
#include "particles/particle_system.h"

#include "render/atlas_texture.h"
#include "render/gl_label.h"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <cstdint>
#include <cstdlib>
#include <iostream>

namespace {

constexpr GLsizeiptr BUFFER_BYTES = static_cast<GLsizeiptr>(PARTICLE_CAPACITY) * PARTICLE_STRIDE;
constexpr GLsizei INSTANCES = 5;
constexpr GLint PARTICLE_TEXTURE_UNIT = 3;

// Feedback outputs of the update program, in the byte order of the record.
const char* const FEEDBACK_VARYINGS[] = {
    "vPositionOut", "vVelocityOut",           "vColorOut",         "fLifeTimeOut", "fSizeOut",
    "iUpdateTextureMillisOut", "iCurrentAnimTimeMillisOut", "iTypeOut", "iTexPosOut",
};

struct Attribute {
    GLint components;
    GLenum type;
    std::uintptr_t offset;
};

// Locations 0..8 of the 60-byte record.
constexpr Attribute ATTRIBUTES[] = {
    {3, GL_FLOAT, 0}, {3, GL_FLOAT, 12}, {3, GL_FLOAT, 24}, {1, GL_FLOAT, 36}, {1, GL_FLOAT, 40},
    {1, GL_FLOAT, 44}, {1, GL_FLOAT, 48}, {1, GL_INT, 52},  {1, GL_INT, 56},
};

void setVec3(const ShaderProgram& program, const char* name, const glm::vec3& value)
{
    glUniform3fv(glGetUniformLocation(program.id, name), 1, glm::value_ptr(value));
}

// One of -10 .. 10 from the C library generator, which the program never seeds.
float randomSeedComponent()
{
    return static_cast<float>((std::rand() % 32768) / 32767.0 * 20.0 - 10.0);
}

void setAttributePointers()
{
    for (GLuint index = 0; index < 9; ++index) {
        const Attribute& attribute = ATTRIBUTES[index];
        const void* offset = reinterpret_cast<const void*>(attribute.offset);
        glEnableVertexAttribArray(index);
        if (attribute.type == GL_INT)
            glVertexAttribIPointer(index, attribute.components, attribute.type, PARTICLE_STRIDE, offset);
        else
            glVertexAttribPointer(index, attribute.components, attribute.type, GL_FALSE, PARTICLE_STRIDE, offset);
    }
}

} // namespace

ParticleSystem::ParticleSystem(AtlasTexture* texture)
    : texture(texture)
{
    std::cout << 35978 << std::endl;
}

bool ParticleSystem::init()
{
    if (initialized)
        return false;

    buildUpdateProgram();
    buildRenderProgram();
    createParticleBuffers();

    current = 0;
    particleCount = 1;
    initialized = true;
    glBindVertexArray(0);
    return true;
}

void ParticleSystem::buildUpdateProgram()
{
    updateVertexShader = std::make_unique<Shader>("Shader/particles_update.vert", GL_VERTEX_SHADER);
    updateGeometryShader = std::make_unique<Shader>("Shader/particles_update.geom", GL_GEOMETRY_SHADER);
    updateProgram.init({updateVertexShader.get(), updateGeometryShader.get()});
    glTransformFeedbackVaryings(updateProgram.id, 9, FEEDBACK_VARYINGS, GL_INTERLEAVED_ATTRIBS);
    updateProgram.link();
    labelObject(GL_PROGRAM, updateProgram.id, "particles update");
}

void ParticleSystem::buildRenderProgram()
{
    renderVertexShader = std::make_unique<Shader>("Shader/particles_render.vert", GL_VERTEX_SHADER);
    renderGeometryShader = std::make_unique<Shader>("Shader/particles_render.geom", GL_GEOMETRY_SHADER);
    renderFragmentShader = std::make_unique<Shader>("Shader/particles_render.frag", GL_FRAGMENT_SHADER);
    renderProgram.init({renderVertexShader.get(), renderGeometryShader.get(), renderFragmentShader.get()});
    renderProgram.link();
    labelObject(GL_PROGRAM, renderProgram.id, "particles render");
}

void ParticleSystem::createParticleBuffers()
{
    glGenTransformFeedbacks(1, &transformFeedback);
    glGenQueries(1, &query);
    glGenBuffers(2, buffers);
    glGenVertexArrays(2, vertexArrays);

    // The all-zero record is the emitter itself (type 0), which the update keeps alive.
    const unsigned char seed[PARTICLE_STRIDE] = {};
    for (int i = 0; i < 2; ++i) {
        glBindVertexArray(vertexArrays[i]);
        glBindBuffer(GL_ARRAY_BUFFER, buffers[i]);
        glBufferData(GL_ARRAY_BUFFER, BUFFER_BYTES, nullptr, GL_DYNAMIC_DRAW);
        glBufferSubData(GL_ARRAY_BUFFER, 0, PARTICLE_STRIDE, seed);
        setAttributePointers();
        labelObject(GL_BUFFER, buffers[i], i == 0 ? "particles 0" : "particles 1");
        labelObject(GL_VERTEX_ARRAY, vertexArrays[i], i == 0 ? "particles 0" : "particles 1");
    }

    // A feedback object exists only once bound; bind it so that it can carry a label.
    glBindTransformFeedback(GL_TRANSFORM_FEEDBACK, transformFeedback);
    labelObject(GL_TRANSFORM_FEEDBACK, transformFeedback, "particles");
    glBindTransformFeedback(GL_TRANSFORM_FEEDBACK, 0);
}

void ParticleSystem::setGenerator(const glm::vec3& position, const glm::vec3& velocityMin,
                                  const glm::vec3& velocityMax, const glm::vec3& gravity, const glm::vec3& color,
                                  float lifeMin, float lifeMax, float size, float period, int count)
{
    genPosition = position;
    genVelocityMin = velocityMin;
    genVelocityRange = velocityMax - velocityMin;
    genGravity = gravity;
    genColor = color;
    genLifeMin = lifeMin;
    genLifeRange = lifeMax - lifeMin;
    genSize = size;
    this->period = period;
    genCount = count;
    elapsed = 0.8f;
}

void ParticleSystem::configure(const EmitterSettings& settings)
{
    kind = settings.kind;
    setGenerator(settings.position, settings.velocityMin, settings.velocityMax, settings.gravity, settings.color,
                 settings.lifeMin, settings.lifeMax, settings.size, settings.period, settings.count);
}

void ParticleSystem::update(float dt)
{
    if (!initialized)
        return;

    glEnable(GL_RASTERIZER_DISCARD);
    glUseProgram(updateProgram.id);

    updateProgram.setFloat("fTimePassed", dt);
    setVec3(updateProgram, "vGenPosition", genPosition);
    setVec3(updateProgram, "vGenVelocityMin", genVelocityMin);
    setVec3(updateProgram, "vGenVelocityRange", genVelocityRange);
    setVec3(updateProgram, "vGenColor", genColor);
    setVec3(updateProgram, "vGenGravityVector", genGravity);
    updateProgram.setFloat("fGenLifeMin", genLifeMin);
    updateProgram.setFloat("fGenLifeRange", genLifeRange);
    updateProgram.setFloat("fGenSize", genSize);
    updateProgram.setInt("iNumToGenerate", 0);
    updateProgram.setInt("rowss", texture->rows);
    updateProgram.setInt("cols", texture->cols);

    // One burst at most per step; a long frame leaves its excess for the next ones.
    elapsed += dt;
    if (elapsed > period) {
        updateProgram.setInt("iNumToGenerate", genCount);
        elapsed -= period;
        const float first = randomSeedComponent();
        const float second = randomSeedComponent();
        const float third = randomSeedComponent();
        setVec3(updateProgram, "vRandomSeed", glm::vec3(third, second, first));
    }

    glBindTransformFeedback(GL_TRANSFORM_FEEDBACK, transformFeedback);
    glBindVertexArray(vertexArrays[current]);
    glBindBufferBase(GL_TRANSFORM_FEEDBACK_BUFFER, 0, buffers[1 - current]);

    glBeginQuery(GL_TRANSFORM_FEEDBACK_PRIMITIVES_WRITTEN, query);
    glBeginTransformFeedback(GL_POINTS);
    glDrawArrays(GL_POINTS, 0, particleCount);
    glEndTransformFeedback();
    glEndQuery(GL_TRANSFORM_FEEDBACK_PRIMITIVES_WRITTEN);

    // Waits for the step to finish; the exact count is worth the stall.
    glGetQueryObjectiv(query, GL_QUERY_RESULT, &particleCount);
    current = 1 - current;

    glBindTransformFeedback(GL_TRANSFORM_FEEDBACK, 0);
    glDisable(GL_RASTERIZER_DISCARD);
    glBindVertexArray(0);
}

void ParticleSystem::setMatrices(const glm::mat4& projection, const glm::vec3& eye, const glm::vec3& center,
                                 const glm::vec3& up)
{
    this->projection = projection;
    view = glm::lookAt(eye, center, up);
    const glm::vec3 direction = glm::normalize(center - eye);
    quad1 = glm::normalize(glm::cross(direction, up));
    // Points along the camera's down direction; the shaders rely on that.
    quad2 = glm::normalize(glm::cross(direction, quad1));
}

void ParticleSystem::render()
{
    glActiveTexture(GL_TEXTURE3);
    glBindTexture(GL_TEXTURE_2D, texture->id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    if (!initialized)
        return;

    if (blendEnabled) {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    } else {
        glDisable(GL_BLEND);
    }
    // Tested against the scene but never written: sprites must not hide one another.
    glDepthMask(GL_FALSE);
    glDisable(GL_RASTERIZER_DISCARD);

    glUseProgram(renderProgram.id);
    renderProgram.setMat4("matrices.mProj", projection);
    renderProgram.setMat4("matrices.mView", view);
    setVec3(renderProgram, "vQuad1", quad1);
    setVec3(renderProgram, "vQuad2", quad2);
    renderProgram.setInt("gSampler", PARTICLE_TEXTURE_UNIT);
    renderProgram.setInt("rowss", texture->rows);
    renderProgram.setInt("cols", texture->cols);
    renderProgram.setInt("iKind", static_cast<int>(kind));
    // Far sprites are held a few pixels wide, pixels of the target drawn into.
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    renderProgram.setFloat("fViewportHeight", static_cast<float>(viewport[3]));

    glBindVertexArray(vertexArrays[current]);
    glDrawTransformFeedbackInstanced(GL_POINTS, transformFeedback, INSTANCES);

    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindVertexArray(0);
}
