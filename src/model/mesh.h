// One drawable piece of a model: its geometry on CPU and GPU, its textures and
// colour material, its model matrix and the box the culling test asks about.
#pragma once

#include "model/mesh_material.h"
#include "model/mesh_texture.h"
#include "model/vertex.h"

#include <GL/glew.h>
#include <glm/glm.hpp>

#include <vector>

class BoundingBox;
class Frustum;
class ShaderProgram;

// Copies share the GL objects, the box and the frustum; nothing is ever released.
class Mesh {
public:
    Mesh(std::vector<Vertex> vertices, std::vector<GLuint> indices, std::vector<MeshTexture> textures,
         MeshMaterial material, Frustum* frustum, BoundingBox* bounds, glm::vec3 scale, glm::vec3 position);

    // Rebuilds the model matrix (scale x translate) and moves the box into world space.
    void updateTransforms();
    // `program` is already in use. Depth-only draws (shadow passes) ignore the
    // culling verdict and set neither material nor samplers.
    void draw(ShaderProgram& program, bool depthOnly);
    // The depth ahead of the main pass: culled as a full draw is, but with only
    // "model" set. The frustum counts it, so it runs before the count is reset.
    void drawDepth(ShaderProgram& program);

    std::vector<Vertex> vertices;
    std::vector<GLuint> indices;
    std::vector<MeshTexture> textures; // diffuse entries first, then specular
    MeshMaterial material;
    glm::mat4 modelMatrix{1.0f};
    glm::vec3 scale{1.0f};
    glm::vec3 position{0.0f};
    BoundingBox* bounds = nullptr;
    Frustum* frustum = nullptr;
    GLuint vao = 0;
    GLuint vbo = 0;
    GLuint ebo = 0;

private:
    void uploadBuffers();
    void drawElements() const;
    void setMaterialUniforms(ShaderProgram& program) const;
    void bindTextures(ShaderProgram& program) const;
    void unbindTextures() const;
};
