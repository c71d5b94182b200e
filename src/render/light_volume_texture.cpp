// Uploads the baked light volume as two half-float 3D textures, filtered
// trilinearly and clamped at the box's faces.
#include "render/light_volume_texture.h"

#include "layout/scene_layout.h"
#include "platform/report_line.h"
#include "render/gl_label.h"

#include <glm/gtc/packing.hpp>

namespace {

// What a bake that could not be read leaves: roughly the light of a room lit
// by the sky alone, so that surfaces away from the sun and fire stay visible.
constexpr glm::vec4 EVEN_AMBIENT(0.06f, 0.06f, 0.07f, 0.0f);

GLuint uploadShare(const LightVolume& volume, const std::vector<uint16_t>& texels, const char* label)
{
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_3D, id);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
    glTexImage3D(GL_TEXTURE_3D, 0, GL_RGBA16F, volume.size.x, volume.size.y, volume.size.z, 0, GL_RGBA,
                 GL_HALF_FLOAT, texels.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    for (GLenum wrap : {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T, GL_TEXTURE_WRAP_R})
        glTexParameteri(GL_TEXTURE_3D, wrap, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_MAX_LEVEL, 0);
    glBindTexture(GL_TEXTURE_3D, 0);
    labelObject(GL_TEXTURE, id, label);
    return id;
}

} // namespace

LightVolume evenLightVolume()
{
    LightVolume volume;
    volume.size = glm::ivec3(2);
    volume.boxLow = glm::vec3(layout::LEFT, 0.0f, layout::FRONT);
    volume.boxHigh = glm::vec3(layout::RIGHT, layout::CEILING, layout::BACK);
    for (size_t i = 0; i < volume.texelCount(); ++i)
        for (int c = 0; c < 4; ++c) {
            volume.ambient.push_back(glm::packHalf1x16(EVEN_AMBIENT[c]));
            volume.local.push_back(glm::packHalf1x16(0.0f));
        }
    return volume;
}

LightVolumeTexture::LightVolumeTexture(const std::string& path)
{
    LightVolume volume;
    std::string error;
    if (!readLightVolume(path, volume, error)) {
        reportLine("%s %s: the room is lit evenly instead", path.c_str(), error.c_str());
        volume = evenLightVolume();
    }
    ambient = uploadShare(volume, volume.ambient, "light volume: ambient");
    local = uploadShare(volume, volume.local, "light volume: local");
    boxLow = volume.boxLow;
    boxHigh = volume.boxHigh;
}

LightVolumeTexture::~LightVolumeTexture()
{
    glDeleteTextures(1, &ambient);
    glDeleteTextures(1, &local);
}

void LightVolumeTexture::bind() const
{
    glActiveTexture(GL_TEXTURE0 + LIGHT_AMBIENT_UNIT);
    glBindTexture(GL_TEXTURE_3D, ambient);
    glActiveTexture(GL_TEXTURE0 + LIGHT_LOCAL_UNIT);
    glBindTexture(GL_TEXTURE_3D, local);
    glActiveTexture(GL_TEXTURE0);
}
