// The choice of the diffuse texture's path: the driver's word, the renderer's
// name as the fallback, the forcing variable; and what this context reports.
#include "render/texture_path.h"

#include "platform/renderer_facts.h"
#include "support/gl_context.h"

#include <cstdlib>
#include <optional>

TEST(TexturePathChoice, FollowsTheDriverThenTheNameThenTheVariable)
{
    struct Case {
        const char* what;
        std::optional<bool> accelerated;
        const char* renderer;
        const char* forced;
        TexturePath expected;
        bool complains;
    };
    const auto S = TexturePath::Sampler;
    const auto F = TexturePath::Shader;
    const Case cases[] = {
        {"the driver says hardware", true, "llvmpipe (LLVM 15.0.6, 256 bits)", nullptr, S, false},
        {"the driver says software", false, "NVIDIA H100/PCIe/SSE2", nullptr, F, false},
        {"llvmpipe by name", std::nullopt, "llvmpipe (LLVM 15.0.6, 256 bits)", nullptr, F, false},
        {"softpipe by name", std::nullopt, "softpipe", nullptr, F, false},
        {"swrast by name", std::nullopt, "Mesa swrast", nullptr, F, false},
        {"SWR by name", std::nullopt, "SWR (LLVM 12.0.0, 256 bits)", nullptr, F, false},
        {"a software renderer by name", std::nullopt, "Microsoft Basic Render Driver (Software)", nullptr, F, false},
        {"a hardware name", std::nullopt, "AMD Radeon RX 6800 (radeonsi, navi21)", nullptr, S, false},
        {"no name at all", std::nullopt, "", nullptr, S, false},
        {"an empty variable", false, "llvmpipe", "", F, false},
        {"forced to the sampler", false, "llvmpipe", "sampler", S, false},
        {"forced to the shader", true, "NVIDIA H100", "shader", F, false},
        {"an unknown value on software", false, "llvmpipe", "texture", F, true},
        {"an unknown value on hardware", true, "NVIDIA H100", "Sampler", S, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TexturePathChoice choice = chooseTexturePath(c.accelerated, c.renderer, c.forced);
        EXPECT_EQ(choice.path, c.expected);
        EXPECT_EQ(!choice.complaint.empty(), c.complains) << choice.complaint;
        if (c.complains) {
            EXPECT_NE(choice.complaint.find(TEXTURE_PATH_VARIABLE + std::string("=") + c.forced), std::string::npos)
                << choice.complaint;
            EXPECT_EQ(choice.complaint.find('\n'), std::string::npos) << "one line";
        }
    }
}

class TexturePathDetection : public GlTest {};

// A software rasteriser gets the shader's own filter, a hardware renderer the
// sampler; the variable forces either.
TEST_F(TexturePathDetection, PicksTheFilterOfThisRendererUnlessForced)
{
    const TexturePath detected = currentRendererIsSoftware() ? TexturePath::Shader : TexturePath::Sampler;
    const TexturePath other = detected == TexturePath::Shader ? TexturePath::Sampler : TexturePath::Shader;
    unsetenv(TEXTURE_PATH_VARIABLE);
    EXPECT_EQ(detectTexturePath(), detected) << currentRendererName();
    setenv(TEXTURE_PATH_VARIABLE, other == TexturePath::Shader ? "shader" : "sampler", 1);
    EXPECT_EQ(detectTexturePath(), other);
    unsetenv(TEXTURE_PATH_VARIABLE);
}
