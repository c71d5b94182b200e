// One model file imported into meshes: materials, node transforms baked into the
// vertex positions, and textures loaded once per model through a cache.
#pragma once

#include "model/mesh.h"
#include "model/mesh_material.h"
#include "model/mesh_texture.h"
#include "platform/non_copyable.h"

#include <assimp/Importer.hpp>
#include <assimp/material.h>
#include <glm/glm.hpp>

#include <string>
#include <vector>

struct aiMesh;
struct aiNode;
struct aiScene;
class Frustum;

// Created once by the set-up with the GL context current; the frustum of the
// scene state must exist by then.
class Model : NonCopyable {
public:
    Model(const char* path, glm::vec3 position, glm::vec3 scale);

    // Per frame: the model matrix (scale x translate), then each mesh's matrix and box.
    void updateTransforms();

    glm::vec3 position{0.0f};
    glm::vec3 scale{1.0f};
    glm::mat4 modelMatrix{1.0f};
    std::vector<Mesh> meshes; // depth-first pre-order of the node tree
    Frustum* frustum = nullptr;
    std::vector<MeshMaterial> materials;
    std::string directory; // the model path before its last "/"
    std::vector<MeshTexture> loadedTextures;
    Assimp::Importer importer;
    const aiScene* scene = nullptr;

private:
    void importScene(std::string path);
    void visitNode(const aiNode* node, const aiMatrix4x4& parentTransform);
    Mesh buildMesh(const aiMesh* mesh, const aiMatrix4x4& transform);
    MeshMaterial readMaterial(const aiMaterial* material) const;
    std::vector<MeshTexture> collectTextures(const aiMaterial* material, aiTextureType type,
                                             const std::string& typeName);
};
