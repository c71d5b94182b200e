// PNG output through stb_image_write (its implementation lives in libstb).
#include "support/test_image.h"

#include <stb_image_write.h>

#include <stdexcept>
#include <vector>

std::string writeTestImage(const std::string& path, int width, int height,
                           const std::function<Rgba(int x, int y)>& pixel)
{
    std::vector<unsigned char> data;
    data.reserve(static_cast<size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Rgba value = pixel(x, y);
            data.insert(data.end(), value.begin(), value.end());
        }
    if (stbi_write_png(path.c_str(), width, height, 4, data.data(), width * 4) == 0)
        throw std::runtime_error("cannot write " + path);
    return path;
}
