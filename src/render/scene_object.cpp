// Scene objects own the rigid body linked to them, if any.
#include "render/scene_object.h"

#include <btBulletDynamicsCommon.h>

namespace kesa::scene {

SceneObject::SceneObject(float scale_, glm::vec3 position_, ShaderProgram* program_)
    : scale(scale_), position(position_), program(program_)
{
}

SceneObject::~SceneObject()
{
    if (body == nullptr)
        return;
    delete body->getMotionState();
    delete body->getCollisionShape();
    delete body;
}

} // namespace kesa::scene
