// The particle images load through the loader's FreeImage path and are bright
// shapes on black, as additive drawing without alpha needs.
#include "render/image_file.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Brightest channel of a texel, 0..1; rows counted as FreeImage stores them, bottom first.
float brightness(const ImageFile& image, unsigned column, unsigned row)
{
    const unsigned char* bgra = image.pixels + (static_cast<std::size_t>(row) * image.width + column) * 4;
    return std::max({bgra[0], bgra[1], bgra[2]}) / 255.0f;
}

float brightestIn(const ImageFile& image, unsigned x0, unsigned y0, unsigned x1, unsigned y1)
{
    float best = 0.0f;
    for (unsigned y = y0; y < y1; ++y)
        for (unsigned x = x0; x < x1; ++x)
            best = std::max(best, brightness(image, x, y));
    return best;
}

double meanIn(const ImageFile& image, unsigned x0, unsigned y0, unsigned x1, unsigned y1)
{
    double sum = 0.0;
    for (unsigned y = y0; y < y1; ++y)
        for (unsigned x = x0; x < x1; ++x)
            sum += brightness(image, x, y);
    return sum / ((x1 - x0) * (y1 - y0));
}

void expectBlackCornersBrightCentre(const ImageFile& image)
{
    const unsigned w = image.width, h = image.height;
    EXPECT_LT(brightness(image, 0, 0), 0.03f);
    EXPECT_LT(brightness(image, w - 1, 0), 0.03f);
    EXPECT_LT(brightness(image, 0, h - 1), 0.03f);
    EXPECT_LT(brightness(image, w - 1, h - 1), 0.03f);
    EXPECT_GT(brightestIn(image, w / 4, h / 4, 3 * w / 4, 3 * h / 4), 0.6f);
}

TEST(ParticleImages, SnowflakeIsASoftBrightDotOnBlack)
{
    EXPECT_EQ(FreeImage_GetFileType("Assets/particle.bmp", 0), FIF_BMP);
    const ImageFile image("Assets\\particle.bmp");
    EXPECT_EQ(image.width, image.height);
    expectBlackCornersBrightCentre(image);
    EXPECT_GT(brightness(image, image.width / 2, image.height / 2), 0.8f);
}

TEST(ParticleImages, PlumeWispIsBrightOnBlack)
{
    EXPECT_EQ(FreeImage_GetFileType("Assets/maxresdefaultblur.jpg", 0), FIF_JPEG);
    const ImageFile image("Assets\\maxresdefaultblur.jpg");
    expectBlackCornersBrightCentre(image);
}

// Sixteen frames on a 4 x 4 grid, each a flame rising to the image's top (GL t = 1
// after the bottom-first upload), separated by black so frames never bleed.
TEST(ParticleImages, FireAtlasHoldsSixteenSeparateRisingFlames)
{
    EXPECT_EQ(FreeImage_GetFileType("Assets/FXT_Fire_Flames_01_Atlas_dblur.png", 0), FIF_PNG);
    const ImageFile image("Assets\\FXT_Fire_Flames_01_Atlas_dblur.png");
    ASSERT_EQ(image.width % 4, 0u);
    ASSERT_EQ(image.height % 4, 0u);
    const unsigned fw = image.width / 4, fh = image.height / 4;
    for (unsigned gy = 0; gy < 4; ++gy) {
        for (unsigned gx = 0; gx < 4; ++gx) {
            const unsigned x0 = gx * fw, y0 = gy * fh;
            EXPECT_GT(brightestIn(image, x0, y0, x0 + fw, y0 + fh), 0.8f) << gx << "," << gy;
            EXPECT_LT(brightestIn(image, x0, y0, x0 + fw, y0 + 1), 0.05f) << "bottom edge " << gx << "," << gy;
            EXPECT_LT(brightestIn(image, x0, y0 + fh - 1, x0 + fw, y0 + fh), 0.05f) << "top edge " << gx << "," << gy;
            EXPECT_LT(brightestIn(image, x0, y0, x0 + 1, y0 + fh), 0.05f) << "left edge " << gx << "," << gy;
            EXPECT_LT(brightestIn(image, x0 + fw - 1, y0, x0 + fw, y0 + fh), 0.05f) << "right edge " << gx << "," << gy;
            // Stored rows run bottom first: the broad, hot base is in the lower half.
            EXPECT_GT(meanIn(image, x0, y0, x0 + fw, y0 + fh / 2), 1.5 * meanIn(image, x0, y0 + fh / 2, x0 + fw, y0 + fh))
                << gx << "," << gy;
        }
    }
}

} // namespace
