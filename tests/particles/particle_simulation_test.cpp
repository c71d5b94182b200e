// The emitter's simulation step against a real context: resources after init, the burst
// timing, and the particles the update program captures, read back from the buffers.
#include "particle_record.h"
#include "particles/particle_system.h"
#include "render/atlas_texture.h"
#include "support/gl_context.h"
#include "support/scene_emitter.h"
#include "support/process.h"
#include "support/test_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>

namespace {

const EmitterSettings& SNOW = sceneEmitter(EmitterKind::Snow);
const EmitterSettings& FIRE = sceneEmitter(EmitterKind::Fire);
const EmitterSettings& PLUME = sceneEmitter(EmitterKind::Smoke);

constexpr float FRAME = 1.0f / 60.0f;

class ParticleSimulationTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        const std::string path = writeTestImage(dir.path + "/atlas.png", 16, 16, [](int, int) {
            return Rgba{255, 255, 255, 255};
        });
        atlas = std::make_unique<AtlasTexture>(path, 4, 4);
        single = std::make_unique<AtlasTexture>(path);
    }

    // An initialised emitter with the given settings on the 4 x 4 atlas.
    std::unique_ptr<ParticleSystem> emitter(const EmitterSettings& settings, AtlasTexture* texture = nullptr)
    {
        auto system = std::make_unique<ParticleSystem>(texture != nullptr ? texture : atlas.get());
        EXPECT_TRUE(system->init());
        system->configure(settings);
        return system;
    }

    static int uniformInt(const ParticleSystem& system, const char* name)
    {
        GLint value = -1;
        glGetUniformiv(system.updateProgram.id, glGetUniformLocation(system.updateProgram.id, name), &value);
        return value;
    }

    static float uniformFloat(const ParticleSystem& system, const char* name)
    {
        float value = -1.0f;
        glGetUniformfv(system.updateProgram.id, glGetUniformLocation(system.updateProgram.id, name), &value);
        return value;
    }

    static std::vector<ParticleRecord> captured(const ParticleSystem& system)
    {
        return readParticles(system.buffers[system.current], system.particleCount);
    }

    TempDir dir;
    std::unique_ptr<AtlasTexture> atlas;
    std::unique_ptr<AtlasTexture> single;
};

bool isZeroRecord(const ParticleRecord& record)
{
    const unsigned char zero[PARTICLE_STRIDE] = {};
    return std::memcmp(&record, zero, PARTICLE_STRIDE) == 0;
}

float lowest(float a, float b)
{
    return std::min(a, b);
}

float highest(float a, float b)
{
    return std::max(a, b);
}

} // namespace

TEST_F(ParticleSimulationTest, ConstructorAnnouncesItselfAndCreatesNothing)
{
    testing::internal::CaptureStdout();
    ParticleSystem system(atlas.get());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "35978\n");
    EXPECT_FALSE(system.initialized);
    EXPECT_TRUE(system.blendEnabled);
    EXPECT_EQ(system.texture, atlas.get());
    EXPECT_EQ(system.buffers[0], 0u);
    EXPECT_EQ(system.transformFeedback, 0u);
    EXPECT_FLOAT_EQ(system.elapsed, 0.8f);

    system.update(FRAME);
    EXPECT_EQ(system.particleCount, 0) << "an emitter that was never initialised does not step";
    EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ParticleSimulationTest, SetGeneratorStoresRangesComputedInFloat)
{
    ParticleSystem system(atlas.get());
    system.elapsed = 0.01f;
    system.setGenerator({1, 2, 3}, {0.2f, -5, 0}, {0.3f, -25, -10}, {0.4f, 0.4f, 0.4f}, {0.7f, 0.2f, 0.1f}, 0.2f,
                        0.3f, 4.0f, 0.08f, 20);
    EXPECT_EQ(system.genVelocityRange.x, 0.3f - 0.2f);
    EXPECT_NE(system.genVelocityRange.x, 0.1f) << "the range is a float difference, not a rounded decimal";
    EXPECT_EQ(system.genVelocityRange.y, -20.0f);
    EXPECT_EQ(system.genVelocityRange.z, -10.0f);
    EXPECT_EQ(system.genLifeRange, 0.3f - 0.2f);
    EXPECT_EQ(system.genPosition, glm::vec3(1, 2, 3));
    EXPECT_EQ(system.genVelocityMin, glm::vec3(0.2f, -5, 0));
    EXPECT_EQ(system.genGravity, glm::vec3(0.4f));
    EXPECT_EQ(system.genColor, glm::vec3(0.7f, 0.2f, 0.1f));
    EXPECT_EQ(system.genLifeMin, 0.2f);
    EXPECT_EQ(system.genSize, 4.0f);
    EXPECT_EQ(system.period, 0.08f);
    EXPECT_EQ(system.genCount, 20);
    EXPECT_EQ(system.elapsed, 0.8f);
}

TEST_F(ParticleSimulationTest, InitHoldsTheEmitterSeedInBufferZero)
{
    ParticleSystem system(atlas.get());
    ASSERT_TRUE(system.init());
    EXPECT_TRUE(system.initialized);
    EXPECT_EQ(system.current, 0);
    EXPECT_EQ(system.particleCount, 1);
    EXPECT_TRUE(isZeroRecord(readParticles(system.buffers[0], 1)[0]));

    for (int i = 0; i < 2; ++i) {
        GLint size = 0;
        glBindBuffer(GL_ARRAY_BUFFER, system.buffers[i]);
        glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
        EXPECT_EQ(size, 6000000);
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    GLint boundArray = -1;
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &boundArray);
    EXPECT_EQ(boundArray, 0);
    EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ParticleSimulationTest, VertexArraysDescribeTheRecord)
{
    ParticleSystem system(atlas.get());
    ASSERT_TRUE(system.init());
    const GLint components[9] = {3, 3, 3, 1, 1, 1, 1, 1, 1};
    const GLint offsets[9] = {0, 12, 24, 36, 40, 44, 48, 52, 56};
    for (int i = 0; i < 2; ++i) {
        glBindVertexArray(system.vertexArrays[i]);
        for (GLuint index = 0; index < 9; ++index) {
            SCOPED_TRACE("array " + std::to_string(i) + ", attribute " + std::to_string(index));
            GLint enabled = 0, size = 0, type = 0, stride = 0, integer = 0, buffer = 0;
            glGetVertexAttribiv(index, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
            glGetVertexAttribiv(index, GL_VERTEX_ATTRIB_ARRAY_SIZE, &size);
            glGetVertexAttribiv(index, GL_VERTEX_ATTRIB_ARRAY_TYPE, &type);
            glGetVertexAttribiv(index, GL_VERTEX_ATTRIB_ARRAY_STRIDE, &stride);
            glGetVertexAttribiv(index, GL_VERTEX_ATTRIB_ARRAY_INTEGER, &integer);
            glGetVertexAttribiv(index, GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING, &buffer);
            void* pointer = nullptr;
            glGetVertexAttribPointerv(index, GL_VERTEX_ATTRIB_ARRAY_POINTER, &pointer);
            EXPECT_EQ(enabled, GL_TRUE);
            EXPECT_EQ(size, components[index]);
            EXPECT_EQ(type, index >= 7 ? GL_INT : GL_FLOAT);
            EXPECT_EQ(integer, index >= 7 ? GL_TRUE : GL_FALSE);
            EXPECT_EQ(stride, PARTICLE_STRIDE);
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(pointer), static_cast<std::uintptr_t>(offsets[index]));
            EXPECT_EQ(static_cast<GLuint>(buffer), system.buffers[i]);
        }
    }
    glBindVertexArray(0);
}

TEST_F(ParticleSimulationTest, UpdateProgramCapturesTheNineOutputsInOrder)
{
    ParticleSystem system(atlas.get());
    ASSERT_TRUE(system.init());
    const GLuint program = system.updateProgram.id;
    GLint count = 0, mode = 0;
    glGetProgramiv(program, GL_TRANSFORM_FEEDBACK_VARYINGS, &count);
    glGetProgramiv(program, GL_TRANSFORM_FEEDBACK_BUFFER_MODE, &mode);
    EXPECT_EQ(mode, GL_INTERLEAVED_ATTRIBS);
    ASSERT_EQ(count, 9);
    const char* names[9] = {"vPositionOut", "vVelocityOut", "vColorOut", "fLifeTimeOut", "fSizeOut",
                            "iUpdateTextureMillisOut", "iCurrentAnimTimeMillisOut", "iTypeOut", "iTexPosOut"};
    const GLenum types[9] = {GL_FLOAT_VEC3, GL_FLOAT_VEC3, GL_FLOAT_VEC3, GL_FLOAT, GL_FLOAT,
                             GL_FLOAT, GL_FLOAT, GL_INT, GL_INT};
    for (GLuint i = 0; i < 9; ++i) {
        char name[64] = {};
        GLsizei size = 0;
        GLenum type = 0;
        glGetTransformFeedbackVarying(program, i, sizeof name, nullptr, &size, &type, name);
        EXPECT_STREQ(name, names[i]);
        EXPECT_EQ(type, types[i]) << names[i];
    }
}

TEST_F(ParticleSimulationTest, SecondInitChangesNothing)
{
    auto system = emitter(FIRE);
    system->update(FRAME);
    const GLuint buffer0 = system->buffers[0];
    const GLuint program = system->updateProgram.id;
    const int count = system->particleCount;
    const std::vector<ParticleRecord> before = captured(*system);

    EXPECT_FALSE(system->init());
    EXPECT_EQ(system->buffers[0], buffer0);
    EXPECT_EQ(system->updateProgram.id, program);
    EXPECT_EQ(system->particleCount, count);
    EXPECT_EQ(system->current, 1);
    const std::vector<ParticleRecord> after = captured(*system);
    EXPECT_EQ(std::memcmp(before.data(), after.data(), before.size() * sizeof(ParticleRecord)), 0);
}

TEST_F(ParticleSimulationTest, FirstUpdateAlwaysBursts)
{
    auto system = emitter(FIRE);
    system->update(FRAME);
    EXPECT_EQ(uniformInt(*system, "iNumToGenerate"), 20);
    EXPECT_EQ(system->elapsed, 0.8f + FRAME - 0.08f);
    EXPECT_EQ(system->particleCount, 21);
    EXPECT_EQ(system->current, 1);
    EXPECT_EQ(uniformFloat(*system, "fTimePassed"), FRAME);
    EXPECT_EQ(uniformInt(*system, "rowss"), 4);
    EXPECT_EQ(uniformInt(*system, "cols"), 4);

    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(static_cast<GLuint>(program), system->updateProgram.id) << "the update program stays current";
    EXPECT_FALSE(glIsEnabled(GL_RASTERIZER_DISCARD));
    EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ParticleSimulationTest, RandomSeedIsTheThreeDrawsInReverse)
{
    auto system = emitter(FIRE);
    std::srand(4711);
    float draws[3];
    for (float& draw : draws)
        draw = static_cast<float>((std::rand() % 32768) / 32767.0 * 20.0 - 10.0);
    std::srand(4711);
    system->update(FRAME);

    float seed[3] = {};
    glGetUniformfv(system->updateProgram.id, glGetUniformLocation(system->updateProgram.id, "vRandomSeed"), seed);
    EXPECT_EQ(seed[0], draws[2]);
    EXPECT_EQ(seed[1], draws[1]);
    EXPECT_EQ(seed[2], draws[0]);
}

TEST_F(ParticleSimulationTest, FireBurstsOncePerPeriodOnAverage)
{
    auto system = emitter(FIRE);
    const int frames = 300;
    std::vector<int> burstFrames;
    for (int frame = 0; frame < frames; ++frame) {
        system->update(FRAME);
        if (uniformInt(*system, "iNumToGenerate") == 20)
            burstFrames.push_back(frame);
        else
            EXPECT_EQ(uniformInt(*system, "iNumToGenerate"), 0);
    }

    // The initial 0.8 s is paid out one burst per frame first; then the gaps settle.
    ASSERT_GT(burstFrames.size(), 20u);
    size_t settled = 0;
    while (settled + 1 < burstFrames.size() && burstFrames[settled + 1] - burstFrames[settled] == 1)
        ++settled;
    EXPECT_GE(settled, 8u);
    // The first gap after that spends what was left of the start; the rest are steady.
    ASSERT_LT(settled + 2, burstFrames.size());
    EXPECT_LE(burstFrames[settled + 1] - burstFrames[settled], 5);
    for (size_t i = settled + 2; i < burstFrames.size(); ++i) {
        const int gap = burstFrames[i] - burstFrames[i - 1];
        EXPECT_TRUE(gap == 4 || gap == 5) << "gap of " << gap << " frames before burst " << i;
    }

    // Every burst used exactly one period of the time that passed.
    const float total = 0.8f + frames * FRAME;
    EXPECT_NEAR(total - burstFrames.size() * 0.08f, system->elapsed, 1e-3f);
    EXPECT_GE(system->elapsed, 0.0f);
    EXPECT_LE(system->elapsed, 0.08f + 1e-6f);
}

TEST_F(ParticleSimulationTest, ZeroTimeStepsBurstOnlyWhileTheRemainderLasts)
{
    auto plume = emitter(PLUME);
    plume->update(0.0f);
    EXPECT_EQ(uniformInt(*plume, "iNumToGenerate"), 20);
    EXPECT_EQ(plume->particleCount, 21);
    for (int i = 0; i < 20; ++i) {
        plume->update(0.0f);
        EXPECT_EQ(uniformInt(*plume, "iNumToGenerate"), 0);
        EXPECT_EQ(uniformFloat(*plume, "fTimePassed"), 0.0f);
    }
    EXPECT_EQ(plume->particleCount, 21) << "no time passed, so nobody aged or died";

    // The fire's 0.8 s start is ten of its periods: those bursts still come, then none.
    auto fire = emitter(FIRE);
    int bursts = 0;
    for (int i = 0; i < 40; ++i) {
        fire->update(0.0f);
        if (uniformInt(*fire, "iNumToGenerate") > 0) {
            ++bursts;
            EXPECT_EQ(bursts, i + 1) << "bursts stop for good once the remainder is spent";
        }
    }
    EXPECT_GE(bursts, 9);
    EXPECT_LE(bursts, 10);
}

TEST_F(ParticleSimulationTest, CapturedSnowFollowsItsGenerator)
{
    auto system = emitter(SNOW, single.get());
    const int frames = 30;
    for (int frame = 0; frame < frames; ++frame)
        system->update(FRAME);
    // The snow's period is shorter than a frame: one burst of 5 every frame, nobody dies yet.
    ASSERT_EQ(system->particleCount, 1 + 5 * frames);

    const std::vector<ParticleRecord> particles = captured(*system);
    EXPECT_TRUE(isZeroRecord(particles[0])) << "the emitter record survives unchanged";

    const glm::vec3 minimum = SNOW.velocityMin;
    const glm::vec3 maximum = SNOW.velocityMax;
    const glm::vec3 gravity = SNOW.gravity;
    std::set<float> distinct;
    for (size_t i = 1; i < particles.size(); ++i) {
        const ParticleRecord& p = particles[i];
        SCOPED_TRACE("particle " + std::to_string(i));
        ASSERT_EQ(p.type, 1);
        const float age = p.ageMillis / 1000.0f;
        EXPECT_GE(age, 0.0f);
        EXPECT_LE(age, frames * FRAME + 1e-4f);

        // The lifetime counts down with age; at birth it lay within the generator's range.
        const float lifeAtBirth = p.lifeTime + age;
        EXPECT_GE(lifeAtBirth, SNOW.lifeMin - 1e-3f);
        EXPECT_LE(lifeAtBirth, SNOW.lifeMax + 1e-3f);
        EXPECT_NEAR(p.frameMillis / 1000.0f, lifeAtBirth, 1e-3f) << "a 1 x 1 atlas shows one frame all life";
        EXPECT_EQ(p.texPos, 0);

        const glm::vec3 start = p.velocity - gravity * age;
        for (int axis = 0; axis < 3; ++axis) {
            EXPECT_GE(start[axis], lowest(minimum[axis], maximum[axis]) - 1e-3f) << "axis " << axis;
            EXPECT_LE(start[axis], highest(minimum[axis], maximum[axis]) + 1e-3f) << "axis " << axis;
        }
        EXPECT_LT(start.y, 0.0f) << "snow falls";

        const glm::vec3 expected = SNOW.position + start * age + 0.5f * gravity * age * age;
        for (int axis = 0; axis < 3; ++axis)
            EXPECT_NEAR(p.position[axis], expected[axis], 2e-3f) << "axis " << axis;
        EXPECT_EQ(p.color, SNOW.color);
        EXPECT_EQ(p.size, SNOW.size);
        distinct.insert(start.x);
    }
    EXPECT_GT(distinct.size(), particles.size() / 2) << "velocities are drawn at random";
}

TEST_F(ParticleSimulationTest, FireStepsThroughItsAtlasFrames)
{
    auto system = emitter(FIRE);
    for (int frame = 0; frame < 60; ++frame)
        system->update(FRAME);

    const std::vector<ParticleRecord> particles = captured(*system);
    ASSERT_GT(particles.size(), 100u);
    int highestFrame = 0;
    for (size_t i = 1; i < particles.size(); ++i) {
        const ParticleRecord& p = particles[i];
        SCOPED_TRACE("particle " + std::to_string(i));
        const float lifeAtBirth = p.lifeTime + p.ageMillis / 1000.0f;
        EXPECT_GE(lifeAtBirth, FIRE.lifeMin - 1e-3f);
        EXPECT_LE(lifeAtBirth, FIRE.lifeMax + 1e-3f);
        EXPECT_NEAR(p.frameMillis * 16.0f / 1000.0f, lifeAtBirth, 1e-3f) << "16 frames share the life";
        const int expectedFrame = std::min(static_cast<int>(p.ageMillis / p.frameMillis), 15);
        EXPECT_NEAR(p.texPos, expectedFrame, 1);
        EXPECT_GE(p.velocity.y, 0.0f);
        highestFrame = std::max(highestFrame, p.texPos);
    }
    EXPECT_GE(highestFrame, 8) << "older flames have moved well into the atlas";
}

TEST_F(ParticleSimulationTest, ParticlesDieWhenTheirLifeRunsOut)
{
    EmitterSettings once = PLUME;
    once.lifeMin = once.lifeMax = 1.0f;
    once.count = 5;
    auto system = emitter(once, single.get());
    system->update(0.0f);
    ASSERT_EQ(system->particleCount, 6);
    system->genCount = 0;

    for (int step = 0; step < 3; ++step)
        system->update(0.25f);
    EXPECT_EQ(system->particleCount, 6);
    system->update(0.25f);
    EXPECT_EQ(system->particleCount, 1) << "lives of 1 s end after four steps of 0.25 s";
    EXPECT_TRUE(isZeroRecord(captured(*system)[0]));
    system->update(0.25f);
    EXPECT_EQ(system->particleCount, 1) << "the emitter itself never dies";
}

// Bursts are bounded by the geometry stage, so reaching the capacity by bursting
// alone would take thousands of steps; the buffer is filled directly instead.
TEST_F(ParticleSimulationTest, ParticleCountNeverExceedsTheCapacity)
{
    auto system = emitter(FIRE);
    std::vector<ParticleRecord> full(PARTICLE_CAPACITY);
    for (ParticleRecord& p : full)
        p = ParticleRecord{FIRE.position, {0, 1, 0}, FIRE.color, 100.0f, 4.0f, 6250.0f, 0.0f, 1, 0};
    full[0] = ParticleRecord{};
    writeParticles(system->buffers[0], full);
    system->particleCount = PARTICLE_CAPACITY;

    for (int step = 0; step < 3; ++step) {
        system->update(FRAME);
        EXPECT_EQ(uniformInt(*system, "iNumToGenerate"), 20);
        EXPECT_EQ(system->particleCount, PARTICLE_CAPACITY);
    }
    const std::vector<ParticleRecord> particles = captured(*system);
    EXPECT_TRUE(isZeroRecord(particles[0]));
    EXPECT_EQ(particles.back().type, 1);
    EXPECT_EQ(takeGlError(), static_cast<GLenum>(GL_NO_ERROR));
}
