// The picture's quality tier, chosen once at start-up and read from the scene
// record from then on. The high tier draws the fire's light per pixel with a
// soft shadow, tilts normals by the textures' relief and multisamples the scene;
// the low tier takes the fire's light and shadow from the light bake and does
// not multisample. A hardware renderer gets the high tier, a software rasteriser the
// low one, unless a tool's option or the variable says otherwise.
#pragma once

#include <optional>
#include <string>
#include <string_view>

enum class QualityTier { Low, High };

// The variable that forces a tier: "low" or "high".
constexpr const char* QUALITY_VARIABLE = "FROSTEMBER_QUALITY";

// What a program asks for before the scene is set up: a tier its command line
// names, and whether its pictures are a showcase (films and captures, which are
// not bound to the clock and default to the high tier).
struct QualityRequest {
    std::optional<QualityTier> option;
    bool showcase = false;
};

struct QualityTierChoice {
    QualityTier tier = QualityTier::Low;
    std::string complaint; // one line to report; empty when there is nothing to say
};

// "low" or "high"; none for anything else.
std::optional<QualityTier> parseQualityTier(std::string_view text);

const char* qualityTierName(QualityTier tier);

// The option wins over the variable, the variable over the showcase default, and
// that over the renderer's. An unknown variable value is reported and ignored.
// `variable` is the variable's value, nullptr where it is unset.
QualityTierChoice chooseQualityTier(bool hardware, const QualityRequest& request, const char* variable);

// Asks the current context and the environment; any complaint is reported.
QualityTier detectQualityTier(const QualityRequest& request);

// The lines the lit fragment stage is compiled with for `tier`.
std::string qualityTierDefinitions(QualityTier tier);
