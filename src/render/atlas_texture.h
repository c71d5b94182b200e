// A 2D image texture divided into a grid of equally sized frames, loaded through
// FreeImage; the particle emitters draw their sprites from it.
#pragma once

#include <GL/glew.h>

#include <string>

class AtlasTexture {
public:
    // Ends the process with "Error loading Image" when the file cannot be decoded.
    explicit AtlasTexture(const std::string& path, int rows = 1, int cols = 1);

    int rows = 1;
    int cols = 1;
    GLuint id = 0;
};
