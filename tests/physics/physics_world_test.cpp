// The viewer's physics world: what it is built from, that the sphere never moves,
// and how long frames are cut into fixed substeps.
#include "physics/physics_world.h"

#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

namespace {

void countSubstep(btDynamicsWorld* world, btScalar)
{
    ++*static_cast<int*>(world->getWorldUserInfo());
}

// Runs one frame and answers how many fixed substeps Bullet simulated in it.
int substepsOfFrame(PhysicsWorld& physics, float dt)
{
    int substeps = 0;
    physics.dynamicsWorld->setInternalTickCallback(countSubstep, &substeps);
    stepPhysics(physics, dt);
    physics.dynamicsWorld->setInternalTickCallback(nullptr);
    return substeps;
}

void expectAtRest(const PhysicsWorld& physics, const btVector3& position)
{
    btTransform interpolated;
    physics.viewerMotionState->getWorldTransform(interpolated);
    for (const btTransform& transform : {physics.viewerBody->getWorldTransform(), interpolated}) {
        EXPECT_EQ(transform.getOrigin(), position);
        const btQuaternion rotation = transform.getRotation();
        EXPECT_FLOAT_EQ(rotation.w(), 1.0f);
        EXPECT_FLOAT_EQ(rotation.x(), 0.0f);
        EXPECT_FLOAT_EQ(rotation.y(), 0.0f);
        EXPECT_FLOAT_EQ(rotation.z(), 0.0f);
    }
}

class PhysicsWorldTest : public testing::Test {
protected:
    void TearDown() override { destroyPhysicsWorld(physics); }
    PhysicsWorld physics;
};

} // namespace

TEST_F(PhysicsWorldTest, HoldsOneWeightlessViewerSphere)
{
    createPhysicsWorld(physics, glm::vec3(0.0f));

    EXPECT_EQ(physics.dynamicsWorld->getGravity(), btVector3(0.0f, 0.0f, 0.0f));
    ASSERT_EQ(physics.dynamicsWorld->getNumCollisionObjects(), 1);
    EXPECT_EQ(physics.dynamicsWorld->getCollisionObjectArray()[0], physics.viewerBody);

    EXPECT_FLOAT_EQ(physics.viewerShape->getRadius(), 2.0f);
    EXPECT_EQ(physics.viewerBody->getCollisionShape(), physics.viewerShape);
    EXPECT_EQ(physics.viewerBody->getMotionState(), physics.viewerMotionState);
    EXPECT_FLOAT_EQ(physics.viewerBody->getInvMass(), 1.0f);
    const btVector3 inertia = physics.viewerBody->getLocalInertia();
    EXPECT_FLOAT_EQ(inertia.x(), 1.6f);
    EXPECT_FLOAT_EQ(inertia.y(), 1.6f);
    EXPECT_FLOAT_EQ(inertia.z(), 1.6f);
    EXPECT_EQ(physics.viewerBody->getLinearVelocity(), btVector3(0.0f, 0.0f, 0.0f));
    EXPECT_EQ(physics.viewerBody->getFriction(), 0.0f);
    EXPECT_EQ(physics.viewerBody->getActivationState(), DISABLE_DEACTIVATION);
}

TEST_F(PhysicsWorldTest, SphereStaysAtTheOriginUnrotatedWhateverTheFrames)
{
    createPhysicsWorld(physics, glm::vec3(0.0f));
    expectAtRest(physics, btVector3(0.0f, 0.0f, 0.0f));

    for (const float dt : {7.5f, 0.0f, 0.004f, 1.0f / 60.0f, 0.05f, 0.3f}) {
        stepPhysics(physics, dt);
        expectAtRest(physics, btVector3(0.0f, 0.0f, 0.0f));
    }
    for (int frame = 0; frame < 600; ++frame) {
        stepPhysics(physics, 1.0f / 60.0f);
    }
    expectAtRest(physics, btVector3(0.0f, 0.0f, 0.0f));
    // Sleeping would freeze the body; it must still be awake after ten seconds of rest.
    EXPECT_TRUE(physics.viewerBody->isActive());
}

TEST_F(PhysicsWorldTest, SphereStaysWhereTheViewerStarted)
{
    createPhysicsWorld(physics, glm::vec3(3.0f, -1.5f, 12.0f));
    for (int frame = 0; frame < 120; ++frame) {
        stepPhysics(physics, 0.02f);
    }
    expectAtRest(physics, btVector3(3.0f, -1.5f, 12.0f));
}

TEST_F(PhysicsWorldTest, LongFirstFrameRunsTenSubstepsAndDropsTheRest)
{
    createPhysicsWorld(physics, glm::vec3(0.0f));

    EXPECT_EQ(substepsOfFrame(physics, 4.005f), 10);
    // Had the dropped time been kept, this frame would run ten substeps again.
    EXPECT_EQ(substepsOfFrame(physics, 1.0f / 60.0f), 1);
}

TEST_F(PhysicsWorldTest, FramesAreCutIntoSixtiethsOfASecond)
{
    createPhysicsWorld(physics, glm::vec3(0.0f));

    EXPECT_EQ(substepsOfFrame(physics, 0.05f), 3);
    EXPECT_EQ(substepsOfFrame(physics, 0.008f), 0);
    EXPECT_EQ(substepsOfFrame(physics, 0.010f), 1);
    EXPECT_EQ(substepsOfFrame(physics, 0.1f), 6);
}

TEST(PhysicsWorldTeardown, ClearsEveryPointer)
{
    PhysicsWorld physics;
    createPhysicsWorld(physics, glm::vec3(0.0f));
    stepPhysics(physics, 0.1f);
    destroyPhysicsWorld(physics);

    EXPECT_EQ(physics.broadphase, nullptr);
    EXPECT_EQ(physics.collisionConfiguration, nullptr);
    EXPECT_EQ(physics.dispatcher, nullptr);
    EXPECT_EQ(physics.solver, nullptr);
    EXPECT_EQ(physics.dynamicsWorld, nullptr);
    EXPECT_EQ(physics.viewerShape, nullptr);
    EXPECT_EQ(physics.viewerMotionState, nullptr);
    EXPECT_EQ(physics.viewerBody, nullptr);
}
