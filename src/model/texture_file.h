// Material textures: one image file decoded to 8-bit RGB and uploaded as a
// mip-mapped, repeating 2D texture.
#pragma once

#include <GL/glew.h>

#include <string>

// Loads directory + "/" + fileName. Always returns a fresh texture name; when the
// file cannot be read the name has no image (it samples as black) and a line
// says so on standard output.
GLuint loadTextureFile(const char* fileName, const std::string& directory);
