// Choosing the diffuse texture's path from what the driver reports, and the
// definition that compiles the lit fragment stage for it.
#include "render/texture_path.h"

#include <GL/glew.h>
#include <GL/glxew.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <iostream>
#include <string_view>

namespace {

std::string lowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Names Mesa and others give their software rasterisers.
bool namesSoftwareRenderer(const std::string& renderer)
{
    constexpr std::array<std::string_view, 5> SOFTWARE = {"llvmpipe", "softpipe", "swrast", "swr", "software"};
    const std::string name = lowerCase(renderer);
    return std::any_of(SOFTWARE.begin(), SOFTWARE.end(),
                       [&](std::string_view word) { return name.find(word) != std::string::npos; });
}

// Mesa's own word on whether the current renderer is hardware.
std::optional<bool> reportedAcceleration()
{
    if (!GLXEW_MESA_query_renderer)
        return std::nullopt;
    unsigned int accelerated = 0;
    if (!glXQueryCurrentRendererIntegerMESA(GLX_RENDERER_ACCELERATED_MESA, &accelerated))
        return std::nullopt;
    return accelerated != 0;
}

} // namespace

TexturePathChoice chooseTexturePath(std::optional<bool> accelerated, const std::string& renderer,
                                    const char* forced)
{
    const bool hardware = accelerated.value_or(!namesSoftwareRenderer(renderer));
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
    const GLubyte* renderer = glGetString(GL_RENDERER);
    const TexturePathChoice choice =
        chooseTexturePath(reportedAcceleration(), renderer ? reinterpret_cast<const char*>(renderer) : "",
                          std::getenv(TEXTURE_PATH_VARIABLE));
    if (!choice.complaint.empty())
        std::cerr << choice.complaint << std::endl;
    return choice.path;
}

std::string texturePathDefinitions(TexturePath path)
{
    return path == TexturePath::Sampler ? "#define DIFFUSE_THROUGH_SAMPLER\n" : "";
}
