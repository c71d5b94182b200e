// Choosing the quality tier from the request, the variable and the renderer, and
// the definition that compiles the lit fragment stage for it.
#include "render/quality_tier.h"

#include "platform/renderer_facts.h"
#include "platform/report_line.h"

#include <cstdlib>

std::optional<QualityTier> parseQualityTier(std::string_view text)
{
    if (text == "low")
        return QualityTier::Low;
    if (text == "high")
        return QualityTier::High;
    return std::nullopt;
}

const char* qualityTierName(QualityTier tier)
{
    return tier == QualityTier::High ? "high" : "low";
}

QualityTierChoice chooseQualityTier(bool hardware, const QualityRequest& request, const char* variable)
{
    const QualityTier fallback = request.showcase || hardware ? QualityTier::High : QualityTier::Low;
    if (request.option)
        return {*request.option, {}};
    if (variable == nullptr || *variable == '\0')
        return {fallback, {}};
    if (const std::optional<QualityTier> named = parseQualityTier(variable))
        return {*named, {}};
    return {fallback, std::string(QUALITY_VARIABLE) + "=" + variable + " names no quality tier (low or high); using the " +
                          qualityTierName(fallback) + " tier"};
}

QualityTier detectQualityTier(const QualityRequest& request)
{
    const QualityTierChoice choice =
        chooseQualityTier(!currentRendererIsSoftware(), request, std::getenv(QUALITY_VARIABLE));
    if (!choice.complaint.empty())
        reportLine("%s", choice.complaint.c_str());
    return choice.tier;
}

std::string qualityTierDefinitions(QualityTier tier)
{
    return tier == QualityTier::High ? "#define QUALITY_HIGH\n" : "";
}
