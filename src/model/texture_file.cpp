// Decoding with stb_image and the upload with mip maps, trilinear filtering and
// anisotropy where the driver offers it.
#include "model/texture_file.h"

#include "platform/native_path.h"
#include "render/gl_label.h"

#include <stb/stb_image.h>

#include <cstdio>
#include <iostream>

namespace {

struct DecodedImage {
    int width = 0;
    int height = 0;
    unsigned char* pixels = nullptr;
};

// Always three channels: grey is expanded, alpha dropped.
DecodedImage decodeRgb(const std::string& path)
{
    DecodedImage image;
    FILE* file = std::fopen(nativePath(path).c_str(), "rb");
    if (file == nullptr)
        return image;
    int channels = 0;
    image.pixels = stbi_load_from_file(file, &image.width, &image.height, &channels, 3);
    std::fclose(file);
    return image;
}

void upload(GLuint id, const DecodedImage& image)
{
    glBindTexture(GL_TEXTURE_2D, id);
    // Decoded rows are tightly packed (3 x width bytes), which the default
    // alignment of 4 would misread for most widths.
    GLint previousAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &previousAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, image.width, image.height, 0, GL_RGB, GL_UNSIGNED_BYTE, image.pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, previousAlignment);
    glGenerateMipmap(GL_TEXTURE_2D);

    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 11);
    // Without the extension the enum is invalid and would leave an error behind.
    if (GLEW_EXT_texture_filter_anisotropic || GLEW_ARB_texture_filter_anisotropic)
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, 16.0f);
    glBindTexture(GL_TEXTURE_2D, 0);
}

} // namespace

GLuint loadTextureFile(const char* fileName, const std::string& directory)
{
    const std::string path = directory + "/" + fileName;
    // The name comes first, so even a failed load hands one back.
    GLuint id = 0;
    glGenTextures(1, &id);

    const DecodedImage image = decodeRgb(path);
    if (image.pixels != nullptr) {
        upload(id, image);
        labelObject(GL_TEXTURE, id, path.c_str());
    } else {
        std::cout << "Damn texture did not load!!! " << path << std::endl;
    }
    stbi_image_free(image.pixels);
    return id;
}
