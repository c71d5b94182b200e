// Mesh upload, per-frame transform and the draw with material and textures.
#include "model/mesh.h"

#include "camera/bounding_box.h"
#include "camera/frustum.h"
#include "render/gl_label.h"
#include "render/shader_program.h"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

namespace {

void setColour(const ShaderProgram& program, const char* name, const glm::vec3& colour)
{
    const glm::vec4 value(colour, 1.0f);
    glUniform4fv(glGetUniformLocation(program.id, name), 1, glm::value_ptr(value));
}

const void* byteOffset(std::size_t offset)
{
    return reinterpret_cast<const void*>(static_cast<std::uintptr_t>(offset));
}

} // namespace

Mesh::Mesh(std::vector<Vertex> vertices_, std::vector<GLuint> indices_, std::vector<MeshTexture> textures_,
           MeshMaterial material_, Frustum* frustum_, BoundingBox* bounds_, glm::vec3 scale_, glm::vec3 position_)
    : vertices(std::move(vertices_)), indices(std::move(indices_)), textures(std::move(textures_)),
      material(std::move(material_)), scale(scale_), position(position_), bounds(bounds_), frustum(frustum_)
{
    uploadBuffers();
}

void Mesh::uploadBuffers()
{
    glGenVertexArrays(1, &vao);
    glBindVertexArray(vao);

    glGenBuffers(1, &vbo);
    glBindBuffer(GL_ARRAY_BUFFER, vbo);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertices.size() * sizeof(Vertex)), vertices.data(),
                 GL_STATIC_DRAW);

    // Bound while the vertex array is, so the array records it.
    glGenBuffers(1, &ebo);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ebo);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(GLuint)), indices.data(),
                 GL_STATIC_DRAW);

    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(Vertex), byteOffset(offsetof(Vertex, position)));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, sizeof(Vertex), byteOffset(offsetof(Vertex, normal)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex), byteOffset(offsetof(Vertex, texCoords)));

    glBindVertexArray(0);

    labelObject(GL_VERTEX_ARRAY, vao, "mesh vertex array");
    labelObject(GL_BUFFER, vbo, "mesh vertices");
    labelObject(GL_BUFFER, ebo, "mesh indices");
}

void Mesh::updateTransforms()
{
    modelMatrix = glm::scale(glm::mat4(1.0f), scale) * glm::translate(glm::mat4(1.0f), position);
    bounds->transform(modelMatrix);
}

void Mesh::draw(ShaderProgram& program, bool depthOnly)
{
    // Asked on every call: the frustum counts what passes, shadow draws included.
    const BoxVisibility visibility = frustum->boxVisibility(*bounds);
    if (visibility == OUTSIDE && !depthOnly)
        return;

    program.setMat4("model", modelMatrix);
    if (!depthOnly) {
        if (material.shininess != -1.0f)
            setMaterialUniforms(program);
        bindTextures(program);
    }
    drawElements();
    unbindTextures();
}

void Mesh::drawDepth(ShaderProgram& program)
{
    if (frustum->boxVisibility(*bounds) == OUTSIDE)
        return;
    program.setMat4("model", modelMatrix);
    drawElements();
}

void Mesh::drawElements() const
{
    glBindVertexArray(vao);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_INT, nullptr);
    glBindVertexArray(0);
}

// The shader's material struct carries colours in its texture_* members.
void Mesh::setMaterialUniforms(ShaderProgram& program) const
{
    setColour(program, "material.ambient", material.ambient);
    setColour(program, "material.texture_diffuse1", material.diffuse);
    setColour(program, "material.texture_specular1", material.specular);
    program.setFloat("material.shininess", material.shininess);
}

// Entry i goes to unit i; samplers are numbered per type from 1
// ("texture_diffuse1", "texture_diffuse2", "texture_specular1"). A sampler keeps
// the unit the last mesh gave it, so "specularMapped" says whether this mesh
// brought a specular texture (the scene's relief maps, read by the high tier's
// main pass; the low tier's declares neither name).
void Mesh::bindTextures(ShaderProgram& program) const
{
    int diffuseNumber = 1;
    int specularNumber = 1;
    for (std::size_t i = 0; i < textures.size(); ++i) {
        const MeshTexture& texture = textures[i];
        glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(i));
        std::string sampler = texture.type;
        if (texture.type == "texture_diffuse")
            sampler += std::to_string(diffuseNumber++);
        else if (texture.type == "texture_specular")
            sampler += std::to_string(specularNumber++);
        program.setInt(sampler, static_cast<int>(i));
        glBindTexture(GL_TEXTURE_2D, texture.id);
    }
    program.setInt("specularMapped", specularNumber > 1 ? 1 : 0);
}

void Mesh::unbindTextures() const
{
    for (std::size_t i = 0; i < textures.size(); ++i) {
        glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(i));
        glBindTexture(GL_TEXTURE_2D, 0);
    }
}
