// The sky's geometry: the sphere of "Assets\sphere.obj" in GL buffers, drawn
// with the sky program and its cube map.
#pragma once

#include "render/scene_object.h"

#include <GL/glew.h>

struct aiMesh;

namespace kesa::scene {

// The texture unit the sky's cube map is bound to while the sky draws.
constexpr int SKY_CUBEMAP_UNIT = 30;

class Cube : public SceneObject {
public:
    // A sphere that cannot be imported leaves the object without geometry: it
    // reports the failure on standard error and draws nothing.
    Cube(float scale, glm::vec3 position, ShaderProgram* program);
    ~Cube() override;

    void update(float) override {}
    void draw() override;
    void reset() override {}

    GLuint vao = 0;
    GLuint positionVbo = 0;
    GLuint normalVbo = 0;
    GLuint uvVbo = 0;
    GLuint ebo = 0;
    GLuint faceCount = 0;

private:
    void upload(const aiMesh& mesh);
};

} // namespace kesa::scene
