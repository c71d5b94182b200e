// What refuses a GL: each missing need named in one line with what was found,
// and the test's own context (the renderer the suite runs on) accepted.
#include "render/gl_capabilities.h"
#include "support/gl_context.h"

#include <gtest/gtest.h>

#include <vector>

TEST(GlCapabilities, EachMissingNeedIsNamedWithWhatWasFound)
{
    struct Case {
        GlCapabilities found;
        std::vector<const char*> named; // empty: accepted
    };
    const char* const INSTANCED = "glDrawTransformFeedbackInstanced (OpenGL 4.2 or GL_ARB_transform_feedback_instanced";
    const Case cases[] = {
        {{4, 2, false, 71}, {}},
        {{3, 3, true, 96}, {}},
        {{4, 6, true, 192}, {}},
        {{3, 3, false, 96}, {INSTANCED, "found OpenGL 3.3 without the extension"}},
        {{4, 1, false, 80}, {INSTANCED, "found OpenGL 4.1"}},
        {{3, 1, true, 96}, {"the geometry stage (OpenGL 3.2; found OpenGL 3.1)"}},
        {{4, 6, true, 70}, {"71 combined texture units (found 70)"}},
        {{3, 0, false, 48},
         {INSTANCED, "the geometry stage (OpenGL 3.2; found OpenGL 3.0)", "71 combined texture units (found 48)"}},
    };
    for (const Case& c : cases) {
        const std::string line = missingGlCapabilities(c.found);
        SCOPED_TRACE(line);
        EXPECT_EQ(line.empty(), c.named.empty());
        for (const char* need : c.named)
            EXPECT_NE(line.find(need), std::string::npos) << need;
        EXPECT_EQ(line.find('\n'), std::string::npos) << "one line";
    }
}

TEST_F(GlTest, TheSuitesOwnRendererCanDrawTheScene)
{
    const GlCapabilities found = currentGlCapabilities();
    EXPECT_EQ(missingGlCapabilities(found), "") << found.major << "." << found.minor;
}
