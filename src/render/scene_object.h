// The base of objects that draw themselves with their own program and model
// matrix, optionally backed by a rigid body.
#pragma once

#include "camera/bounding_box.h"
#include "platform/non_copyable.h"

#include <glm/glm.hpp>

class ShaderProgram;
class btRigidBody;

namespace kesa::scene {

class SceneObject : NonCopyable {
public:
    SceneObject(float scale, glm::vec3 position, ShaderProgram* program);
    // Releases the linked rigid body with its collision shape and motion state.
    virtual ~SceneObject();

    virtual void update(float dt) = 0;
    virtual void draw() = 0;
    virtual void reset() = 0;

    glm::mat4 modelMatrix{1.0f};
    float scale = 1.0f;
    glm::vec3 position{0.0f};
    int cubemapUnit = 0;
    ShaderProgram* program = nullptr; // not owned
    BoundingBox bounds;
    btRigidBody* body = nullptr;
};

} // namespace kesa::scene
