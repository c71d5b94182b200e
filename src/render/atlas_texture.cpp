// Atlas upload: the image goes up without its alpha channel, with a full mip chain.
#include "render/atlas_texture.h"

#include "render/gl_label.h"
#include "render/image_file.h"

#include <FreeImage.h>

AtlasTexture::AtlasTexture(const std::string& path, int rows, int cols)
    : rows(rows)
    , cols(cols)
{
    FreeImage_Initialise(TRUE);

    glGenTextures(1, &id);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    labelObject(GL_TEXTURE, id, path.c_str());

    const ImageFile image(path);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, static_cast<GLsizei>(image.width), static_cast<GLsizei>(image.height), 0,
                 GL_BGRA, GL_UNSIGNED_BYTE, image.pixels);
    glGenerateMipmap(GL_TEXTURE_2D);
}
