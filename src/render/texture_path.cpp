// Choosing the diffuse texture's path from what the driver reports, and the
// definition that compiles the lit fragment stage for it.
#include "render/texture_path.h"

#include "platform/renderer_facts.h"
#include "platform/report_line.h"

#include <cstdlib>
#include <string_view>

TexturePathChoice chooseTexturePath(std::optional<bool> accelerated, const std::string& renderer,
                                    const char* forced)
{
    const bool hardware = !isSoftwareRenderer(accelerated, renderer);
    TexturePathChoice choice{hardware ? TexturePath::Sampler : TexturePath::Shader, {}};
    if (forced == nullptr || *forced == '\0')
        return choice;
    const std::string_view value = forced;
    if (value == "sampler")
        choice.path = TexturePath::Sampler;
    else if (value == "shader")
        choice.path = TexturePath::Shader;
    else
        choice.complaint = std::string(TEXTURE_PATH_VARIABLE) + "=" + forced +
                           " names no texture path (sampler or shader); using the " +
                           (hardware ? "sampler" : "shader") + " path";
    return choice;
}

TexturePath detectTexturePath()
{
    const TexturePathChoice choice =
        chooseTexturePath(reportedAcceleration(), currentRendererName(), std::getenv(TEXTURE_PATH_VARIABLE));
    if (!choice.complaint.empty())
        reportLine("%s", choice.complaint.c_str());
    return choice.path;
}

std::string texturePathDefinitions(TexturePath path)
{
    return path == TexturePath::Sampler ? "#define DIFFUSE_THROUGH_SAMPLER\n" : "";
}
