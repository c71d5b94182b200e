// Import of the sky sphere and its draw. Attributes are bound by the names the
// sky program declares; one the program does not use (location -1) stays off.
#include "render/cube.h"

#include "platform/native_path.h"
#include "platform/report_line.h"
#include "render/gl_label.h"
#include "render/shader_program.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <glm/gtc/type_ptr.hpp>

#include <vector>

namespace kesa::scene {

namespace {

const char* const kSpherePath = "Assets\\sphere.obj";

constexpr unsigned kImportFlags =
    aiProcess_CalcTangentSpace | aiProcess_JoinIdenticalVertices | aiProcess_Triangulate | aiProcess_SortByPType;

// After sorting by primitive type a file may also hold point or line meshes;
// the sky takes the first mesh made of triangles.
const aiMesh* firstTriangleMesh(const aiScene* imported)
{
    if (imported == nullptr)
        return nullptr;
    for (unsigned i = 0; i < imported->mNumMeshes; ++i)
        if (imported->mMeshes[i]->mPrimitiveTypes & aiPrimitiveType_TRIANGLE)
            return imported->mMeshes[i];
    return nullptr;
}

// Fills a new buffer with `floatsPerVertex` floats per vertex and binds it to the
// program's attribute `name`, if the program has one.
GLuint attributeBuffer(GLuint programId, const char* name, const float* data, unsigned vertexCount,
                       int floatsPerVertex)
{
    GLuint vbo = 0;
    glGenBuffers(1, &vbo);
    glBindBuffer(GL_ARRAY_BUFFER, vbo);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertexCount) * floatsPerVertex * sizeof(float), data,
                 GL_STATIC_DRAW);
    labelObject(GL_BUFFER, vbo, name);
    const GLint location = glGetAttribLocation(programId, name);
    if (location != -1) {
        glEnableVertexAttribArray(static_cast<GLuint>(location));
        glVertexAttribPointer(static_cast<GLuint>(location), floatsPerVertex, GL_FLOAT, GL_FALSE, 0, nullptr);
    }
    return vbo;
}

} // namespace

static_assert(sizeof(aiVector3D) == 3 * sizeof(float), "positions and normals are uploaded as they lie");

Cube::Cube(float scale_, glm::vec3 position_, ShaderProgram* program_) : SceneObject(scale_, position_, program_)
{
    cubemapUnit = SKY_CUBEMAP_UNIT;
    Assimp::Importer importer;
    const aiScene* imported = importer.ReadFile(nativePath(kSpherePath), kImportFlags);
    const aiMesh* mesh = firstTriangleMesh(imported);
    if (mesh == nullptr) {
        reportLine("cannot import %s: %s", kSpherePath,
                   imported == nullptr ? importer.GetErrorString() : "no triangle mesh");
        return;
    }
    upload(*mesh);
}

Cube::~Cube()
{
    const GLuint buffers[] = {positionVbo, normalVbo, uvVbo, ebo};
    for (const GLuint buffer : buffers)
        if (buffer != 0)
            glDeleteBuffers(1, &buffer);
    if (vao != 0)
        glDeleteVertexArrays(1, &vao);
}

void Cube::upload(const aiMesh& mesh)
{
    // Faces of fewer than three corners cannot be drawn as triangles.
    std::vector<GLuint> indices;
    indices.reserve(static_cast<size_t>(mesh.mNumFaces) * 3);
    for (unsigned i = 0; i < mesh.mNumFaces; ++i) {
        const aiFace& face = mesh.mFaces[i];
        if (face.mNumIndices < 3)
            continue;
        indices.insert(indices.end(), face.mIndices, face.mIndices + 3);
    }
    faceCount = static_cast<GLuint>(indices.size() / 3);

    glGenVertexArrays(1, &vao);
    glBindVertexArray(vao);
    labelObject(GL_VERTEX_ARRAY, vao, "sky sphere");
    glGenBuffers(1, &ebo);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ebo);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(GLuint)), indices.data(),
                 GL_STATIC_DRAW);
    labelObject(GL_BUFFER, ebo, "sky sphere indices");

    const unsigned vertexCount = mesh.mNumVertices;
    if (mesh.HasPositions() && vertexCount > 0)
        positionVbo = attributeBuffer(program->id, "position", &mesh.mVertices[0].x, vertexCount, 3);
    if (mesh.HasNormals() && vertexCount > 0)
        normalVbo = attributeBuffer(program->id, "normal", &mesh.mNormals[0].x, vertexCount, 3);
    if (mesh.HasTextureCoords(0) && vertexCount > 0) {
        std::vector<float> uvs;
        uvs.reserve(static_cast<size_t>(vertexCount) * 2);
        for (unsigned i = 0; i < vertexCount; ++i) {
            uvs.push_back(mesh.mTextureCoords[0][i].x);
            uvs.push_back(mesh.mTextureCoords[0][i].y);
        }
        uvVbo = attributeBuffer(program->id, "uv", uvs.data(), vertexCount, 2);
    }

    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

void Cube::draw()
{
    if (faceCount == 0)
        return;
    glUseProgram(program->id);
    glUniformMatrix4fv(glGetUniformLocation(program->id, "model"), 1, GL_FALSE, glm::value_ptr(modelMatrix));
    glUniform1i(glGetUniformLocation(program->id, "gCubemapTexture"), cubemapUnit);
    glBindVertexArray(vao);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(faceCount * 3), GL_UNSIGNED_INT, nullptr);
    glBindVertexArray(0);
}

} // namespace kesa::scene
