// Small images written on the fly for atlas and particle tests.
#pragma once

#include <array>
#include <functional>
#include <string>

using Rgba = std::array<unsigned char, 4>;

// Writes a width x height PNG whose pixel (x, y), y counted from the top row, is
// pixel(x, y); returns the path.
std::string writeTestImage(const std::string& path, int width, int height,
                           const std::function<Rgba(int x, int y)>& pixel);
