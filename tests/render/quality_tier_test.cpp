// The choice of the quality tier: the tool's option, then the variable, then the
// showcase default of films and captures, then the renderer.
#include "render/quality_tier.h"

#include <gtest/gtest.h>

TEST(QualityTierChoice, FollowsTheOptionThenTheVariableThenTheShowcaseThenTheRenderer)
{
    struct Case {
        const char* what;
        bool hardware;
        QualityRequest request;
        const char* variable;
        QualityTier expected;
        bool complains;
    };
    const auto L = QualityTier::Low;
    const auto H = QualityTier::High;
    const Case cases[] = {
        {"software by default", false, {}, nullptr, L, false},
        {"hardware by default", true, {}, nullptr, H, false},
        {"a showcase on software", false, {std::nullopt, true}, nullptr, H, false},
        {"an empty variable", false, {}, "", L, false},
        {"the variable on hardware", true, {}, "low", L, false},
        {"the variable over the showcase", false, {std::nullopt, true}, "low", L, false},
        {"the option over the variable", false, {H, false}, "low", H, false},
        {"the option over the showcase", false, {L, true}, nullptr, L, false},
        {"an unknown value on software", false, {}, "ultra", L, true},
        {"an unknown value in a showcase", false, {std::nullopt, true}, "High", H, true},
        {"an unknown value beside an option", true, {L, false}, "medium", L, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QualityTierChoice choice = chooseQualityTier(c.hardware, c.request, c.variable);
        EXPECT_EQ(choice.tier, c.expected);
        EXPECT_EQ(!choice.complaint.empty(), c.complains) << choice.complaint;
        if (c.complains) {
            EXPECT_NE(choice.complaint.find(QUALITY_VARIABLE + std::string("=") + c.variable), std::string::npos);
            EXPECT_NE(choice.complaint.find(std::string("using the ") + qualityTierName(c.expected)), std::string::npos);
            EXPECT_EQ(choice.complaint.find('\n'), std::string::npos) << "one line";
        }
    }
}
