// The Bullet objects of the scene: an empty world without gravity holding one
// sphere for the viewer.
#pragma once

#include <glm/glm.hpp>

class btBroadphaseInterface;
class btDefaultCollisionConfiguration;
class btCollisionDispatcher;
class btSequentialImpulseConstraintSolver;
class btDiscreteDynamicsWorld;
class btSphereShape;
class btDefaultMotionState;
class btRigidBody;

struct PhysicsWorld {
    btBroadphaseInterface* broadphase = nullptr;
    btDefaultCollisionConfiguration* collisionConfiguration = nullptr;
    btCollisionDispatcher* dispatcher = nullptr;
    btSequentialImpulseConstraintSolver* solver = nullptr;
    btDiscreteDynamicsWorld* dynamicsWorld = nullptr;
    btSphereShape* viewerShape = nullptr;
    btDefaultMotionState* viewerMotionState = nullptr;
    btRigidBody* viewerBody = nullptr;
};

// Builds the world with the viewer's sphere resting at `viewerPosition`.
void createPhysicsWorld(PhysicsWorld& physics, const glm::vec3& viewerPosition);

// Advances the world by one frame of `dt` seconds in fixed steps of 1/60 s; a
// long frame runs at most 10 of them and drops the rest.
void stepPhysics(PhysicsWorld& physics, float dt);

// Releases every object of the world and clears the pointers.
void destroyPhysicsWorld(PhysicsWorld& physics);
