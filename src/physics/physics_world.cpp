// Construction, stepping and teardown of the viewer's physics world.
#include "physics/physics_world.h"

#include <btBulletDynamicsCommon.h>

namespace {

constexpr btScalar VIEWER_RADIUS = 2.0f;
constexpr btScalar VIEWER_MASS = 1.0f;
constexpr int MAX_SUBSTEPS = 10;
constexpr btScalar FIXED_SUBSTEP = 1.0f / 60.0f;

} // namespace

void createPhysicsWorld(PhysicsWorld& physics, const glm::vec3& viewerPosition)
{
    physics.broadphase = new btDbvtBroadphase();
    physics.collisionConfiguration = new btDefaultCollisionConfiguration(btDefaultCollisionConstructionInfo());
    physics.dispatcher = new btCollisionDispatcher(physics.collisionConfiguration);
    physics.solver = new btSequentialImpulseConstraintSolver();
    physics.dynamicsWorld = new btDiscreteDynamicsWorld(physics.dispatcher, physics.broadphase, physics.solver,
                                                        physics.collisionConfiguration);
    physics.dynamicsWorld->setGravity(btVector3(0.0f, 0.0f, 0.0f));

    physics.viewerShape = new btSphereShape(VIEWER_RADIUS);
    const btTransform start(btQuaternion(0.0f, 0.0f, 0.0f, 1.0f),
                            btVector3(viewerPosition.x, viewerPosition.y, viewerPosition.z));
    physics.viewerMotionState = new btDefaultMotionState(start);

    btVector3 inertia(0.0f, 0.0f, 0.0f);
    physics.viewerShape->calculateLocalInertia(VIEWER_MASS, inertia);
    const btRigidBody::btRigidBodyConstructionInfo info(VIEWER_MASS, physics.viewerMotionState,
                                                        physics.viewerShape, inertia);
    physics.viewerBody = new btRigidBody(info);
    physics.dynamicsWorld->addRigidBody(physics.viewerBody);

    physics.viewerBody->setLinearVelocity(btVector3(0.0f, 0.0f, 0.0f));
    physics.viewerBody->setFriction(0.0f);
    // The viewer never comes to rest on anything, so it must never be put to sleep.
    physics.viewerBody->forceActivationState(DISABLE_DEACTIVATION);
}

void stepPhysics(PhysicsWorld& physics, float dt)
{
    physics.dynamicsWorld->stepSimulation(dt, MAX_SUBSTEPS, FIXED_SUBSTEP);
}

void destroyPhysicsWorld(PhysicsWorld& physics)
{
    if (physics.dynamicsWorld && physics.viewerBody) {
        physics.dynamicsWorld->removeRigidBody(physics.viewerBody);
    }
    delete physics.viewerBody;
    delete physics.viewerShape;
    delete physics.dynamicsWorld;
    delete physics.solver;
    delete physics.collisionConfiguration;
    delete physics.dispatcher;
    delete physics.broadphase;
    // The body does not own its motion state; nothing else would ever free it.
    delete physics.viewerMotionState;
    physics = PhysicsWorld{};
}
