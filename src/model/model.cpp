// Import through Assimp: materials, node traversal, vertices and the texture cache.
#include "model/model.h"

#include "app/scene_state.h"
#include "camera/bounding_box.h"
#include "model/texture_file.h"
#include "platform/native_path.h"

#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <glm/gtc/matrix_transform.hpp>

#include <algorithm>
#include <iostream>
#include <utility>

namespace {

// Assimp stores rows; GLM stores columns. Same matrix, other layout.
glm::mat4 toGlm(const aiMatrix4x4& m)
{
    return glm::mat4(m.a1, m.b1, m.c1, m.d1,
                     m.a2, m.b2, m.c2, m.d2,
                     m.a3, m.b3, m.c3, m.d3,
                     m.a4, m.b4, m.c4, m.d4);
}

std::vector<Vertex> readVertices(const aiMesh* mesh, const glm::mat4& transform)
{
    std::vector<Vertex> vertices;
    vertices.reserve(mesh->mNumVertices);
    for (unsigned int i = 0; i < mesh->mNumVertices; ++i) {
        const aiVector3D& p = mesh->mVertices[i];
        Vertex vertex{};
        vertex.position = glm::vec3(transform * glm::vec4(p.x, p.y, p.z, 1.0f));
        // Normals are taken as the file has them, whatever the node transform.
        if (mesh->HasNormals())
            vertex.normal = glm::vec3(mesh->mNormals[i].x, mesh->mNormals[i].y, mesh->mNormals[i].z);
        if (mesh->HasTextureCoords(0))
            vertex.texCoords = glm::vec2(mesh->mTextureCoords[0][i].x, mesh->mTextureCoords[0][i].y);
        vertices.push_back(vertex);
    }
    return vertices;
}

// Points and lines survive triangulation; drawn as triangles they would shift
// every triangle after them, so only whole triangles are kept.
std::vector<GLuint> readTriangleIndices(const aiMesh* mesh)
{
    std::vector<GLuint> indices;
    for (unsigned int f = 0; f < mesh->mNumFaces; ++f) {
        const aiFace& face = mesh->mFaces[f];
        if (face.mNumIndices < 3)
            continue;
        indices.insert(indices.end(), face.mIndices, face.mIndices + face.mNumIndices);
    }
    return indices;
}

glm::vec3 readColour(const aiMaterial* material, const char* key, unsigned int type, unsigned int index)
{
    aiColor4D colour(0.0f, 0.0f, 0.0f, 0.0f);
    aiGetMaterialColor(material, key, type, index, &colour);
    return glm::vec3(colour.r, colour.g, colour.b);
}

} // namespace

Model::Model(const char* path, glm::vec3 position_, glm::vec3 scale_)
    : position(position_), scale(scale_), frustum(::scene.frustum)
{
    importScene(path);
}

void Model::updateTransforms()
{
    modelMatrix = glm::scale(glm::mat4(1.0f), scale) * glm::translate(glm::mat4(1.0f), position);
    for (Mesh& mesh : meshes)
        mesh.updateTransforms();
}

void Model::importScene(std::string path)
{
    scene = importer.ReadFile(nativePath(path), aiProcess_Triangulate | aiProcess_FlipUVs);
    if (scene == nullptr || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) != 0 || scene->mRootNode == nullptr) {
        std::cout << "ERROR::ASSIMP::" << importer.GetErrorString() << std::endl;
        return;
    }
    directory = path.substr(0, path.find_last_of('/'));

    for (unsigned int i = 0; i < scene->mNumMaterials; ++i)
        materials.push_back(readMaterial(scene->mMaterials[i]));

    visitNode(scene->mRootNode, aiMatrix4x4());
}

void Model::visitNode(const aiNode* node, const aiMatrix4x4& parentTransform)
{
    const aiMatrix4x4 transform = parentTransform * node->mTransformation;
    for (unsigned int i = 0; i < node->mNumMeshes; ++i)
        meshes.push_back(buildMesh(scene->mMeshes[node->mMeshes[i]], transform));
    for (unsigned int i = 0; i < node->mNumChildren; ++i)
        visitNode(node->mChildren[i], transform);
}

Mesh Model::buildMesh(const aiMesh* mesh, const aiMatrix4x4& transform)
{
    std::vector<Vertex> vertices = readVertices(mesh, toGlm(transform));
    std::vector<GLuint> indices = readTriangleIndices(mesh);

    MeshMaterial material = materials[mesh->mMaterialIndex];
    if (material.diffuse == glm::vec3(0.0f))
        material.diffuse = glm::vec3(0.6f);

    const aiMaterial* imported = scene->mMaterials[mesh->mMaterialIndex];
    std::vector<MeshTexture> textures = collectTextures(imported, aiTextureType_DIFFUSE, "texture_diffuse");
    std::vector<MeshTexture> specular = collectTextures(imported, aiTextureType_SPECULAR, "texture_specular");
    textures.insert(textures.end(), specular.begin(), specular.end());

    auto* bounds = new BoundingBox();
    bounds->fitToVertices(vertices);

    return Mesh(std::move(vertices), std::move(indices), std::move(textures), std::move(material), frustum, bounds,
                scale, position);
}

MeshMaterial Model::readMaterial(const aiMaterial* material) const
{
    MeshMaterial result;
    aiString name;
    if (aiGetMaterialString(material, AI_MATKEY_NAME, &name) == AI_SUCCESS && name.length > 0)
        result.name = name.C_Str();

    result.ambient = readColour(material, AI_MATKEY_COLOR_AMBIENT) * 0.2f;
    result.diffuse = readColour(material, AI_MATKEY_COLOR_DIFFUSE);
    result.specular = readColour(material, AI_MATKEY_COLOR_SPECULAR);

    float shininess = 0.0f;
    unsigned int count = 1;
    aiGetMaterialFloatArray(material, AI_MATKEY_SHININESS, &shininess, &count);
    // Zero means the file gave no usable exponent.
    result.shininess = shininess == 0.0f ? 10.0f : shininess;
    return result;
}

std::vector<MeshTexture> Model::collectTextures(const aiMaterial* material, aiTextureType type,
                                                const std::string& typeName)
{
    std::vector<MeshTexture> result;
    if (aiGetMaterialTextureCount(material, type) == 0) {
        // The fallback is loaded anew for every mesh; its cache entry keeps an
        // empty path, which no texture file name of a material matches.
        const MeshTexture fallback{loadTextureFile("default.png", directory), typeName, ""};
        result.push_back(fallback);
        loadedTextures.push_back(fallback);
        return result;
    }

    for (unsigned int i = 0; i < aiGetMaterialTextureCount(material, type); ++i) {
        aiString path;
        aiGetMaterialTexture(material, type, i, &path);
        const std::string fileName = path.C_Str();
        // Byte-for-byte, so a file first met as a diffuse texture keeps that type.
        const auto cached = std::find_if(loadedTextures.begin(), loadedTextures.end(),
                                         [&](const MeshTexture& entry) { return entry.path == fileName; });
        if (cached != loadedTextures.end()) {
            result.push_back(*cached);
            continue;
        }
        const MeshTexture loaded{loadTextureFile(fileName.c_str(), directory), typeName, fileName};
        result.push_back(loaded);
        loadedTextures.push_back(loaded);
    }
    return result;
}
