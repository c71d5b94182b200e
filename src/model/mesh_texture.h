// One texture of a mesh, as meshes and a model's texture cache hold it.
#pragma once

#include <GL/glew.h>

#include <string>

struct MeshTexture {
    GLuint id = 0;
    std::string type; // "texture_diffuse" or "texture_specular"; names the sampler
    std::string path; // as the material names the file; the key of the texture cache
};
