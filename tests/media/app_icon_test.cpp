// The desktop icon from the asset generator: the same bytes on every run, a
// 256 x 256 image with alpha, a rounded tile on a clear ground and the fire
// burning bright and warm in its middle.
#include "support/process.h"

#include <gtest/gtest.h>
#include <stb_image.h>

#include <memory>
#include <string>

namespace {

struct Rgba {
    int r, g, b, a;
};

std::string drawIcon(const std::string& dir)
{
    ProcessOptions options;
    options.workDir = dir;
    const ProcessResult drawn = runProcess(FROSTEMBER_ASSET_GENERATOR, {"--icon", dir + "/icon.png"}, options);
    EXPECT_EQ(drawn.status, 0) << drawn.err;
    return dir + "/icon.png";
}

} // namespace

TEST(AppIcon, IsDeterministicSquareWithAlphaAndAWarmBrightFireOnAClearGround)
{
    TempDir first, second;
    const std::string path = drawIcon(first.path);
    EXPECT_EQ(readFile(path), readFile(drawIcon(second.path))) << "two runs differ";

    int width = 0, height = 0, channels = 0;
    const std::unique_ptr<unsigned char, void (*)(void*)> pixels(stbi_load(path.c_str(), &width, &height, &channels, 4),
                                                                  stbi_image_free);
    ASSERT_NE(pixels, nullptr) << "no readable PNG";
    EXPECT_EQ(width, 256);
    EXPECT_EQ(height, 256);
    EXPECT_EQ(channels, 4);
    const auto at = [&](int x, int y) {
        const unsigned char* p = pixels.get() + (static_cast<std::size_t>(y) * width + x) * 4;
        return Rgba{p[0], p[1], p[2], p[3]};
    };
    for (const auto& [x, y] : {std::pair{0, 0}, {255, 0}, {0, 255}, {255, 255}, {4, 128}, {128, 251}})
        EXPECT_EQ(at(x, y).a, 0) << "clear ground at " << x << "," << y;
    // Flame texels: red at full, green at least a fifth of it, blue well under the green.
    int flame = 0;
    for (int y = 64; y < 192; ++y) {
        for (int x = 64; x < 192; ++x) {
            const Rgba texel = at(x, y);
            EXPECT_EQ(texel.a, 255) << "opaque tile at " << x << "," << y;
            flame += texel.r >= 245 && texel.g >= 50 && 2 * texel.b < texel.g ? 1 : 0;
        }
    }
    EXPECT_GT(flame, 128 * 128 / 8) << "a bright orange-yellow fire fills the middle";
}
