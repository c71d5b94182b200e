// The Bullet objects of the scene: an empty world without gravity holding one
// sphere for the viewer.
#pragma once

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
