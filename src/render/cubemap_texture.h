// A six-face cube map decoded from image files through FreeImage.
#pragma once

#include "platform/non_copyable.h"

#include <GL/glew.h>

#include <string>

class CubemapTexture : NonCopyable {
public:
    // The face names come in GL face order: +X, -X, +Y, -Y, +Z, -Z.
    CubemapTexture(const std::string& directory, const std::string& posX, const std::string& negX,
                   const std::string& posY, const std::string& negY, const std::string& posZ,
                   const std::string& negZ);
    ~CubemapTexture();

    // Leaves the texture bound on unit 0. A face that cannot be decoded ends the
    // process, so a return always means success.
    bool load();

    std::string fileNames[6];
    GLuint id = 0;
};
