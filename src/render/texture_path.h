// How the lit fragment stage filters the diffuse texture: through the texture's
// own sampler where the renderer is hardware, or with the stage's own filter from
// texel fetches where it is a software rasteriser. Decided once at start-up.
#pragma once

#include <optional>
#include <string>

enum class TexturePath { Sampler, Shader };

struct TexturePathChoice {
    TexturePath path = TexturePath::Shader;
    std::string complaint; // one line to report; empty when there is nothing to say
};

// The variable that forces a path: "sampler" or "shader".
constexpr const char* TEXTURE_PATH_VARIABLE = "FROSTEMBER_TEXTURE_PATH";

// `accelerated` is the driver's own word where it gives one; otherwise the
// renderer's name decides. A forced path wins; an unknown one is reported and
// ignored. `forced` is the variable's value, nullptr where it is unset.
TexturePathChoice chooseTexturePath(std::optional<bool> accelerated, const std::string& renderer,
                                    const char* forced);

// Asks the current context and the environment; any complaint is reported.
TexturePath detectTexturePath();

// The lines the lit fragment stage is compiled with for `path`.
std::string texturePathDefinitions(TexturePath path);
