// Capture times to frames and file names, and the capture image itself.
#include "replay/replay_capture.h"

#include <GL/glew.h>
#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

long captureFrame(double time, double dt)
{
    constexpr double ROUNDING_TOLERANCE = 1.0e-6; // of one step
    constexpr double LAST_FRAME = 1.0e18;
    const double frame = std::ceil(time / dt - ROUNDING_TOLERANCE);
    return static_cast<long>(std::clamp(frame, 1.0, LAST_FRAME));
}

std::vector<double> periodicCaptureTimes(long frame, double step, double dt)
{
    // From a multiple early, so that none close to the previous frame's time is missed.
    const double previous = static_cast<double>(frame - 1) * dt;
    long multiple = std::max(0L, static_cast<long>(std::floor(previous / step)) - 1);
    std::vector<double> times;
    for (; captureFrame(static_cast<double>(multiple) * step, dt) <= frame; ++multiple) {
        const double time = static_cast<double>(multiple) * step;
        if (captureFrame(time, dt) == frame)
            times.push_back(time);
    }
    return times;
}

std::string captureFileName(double time)
{
    char name[64];
    std::snprintf(name, sizeof name, "t%06.1f.png", time);
    return name;
}

std::vector<unsigned char> readBackBuffer(int width, int height)
{
    const size_t stride = static_cast<size_t>(width) * 3;
    std::vector<unsigned char> bottomFirst(stride * height);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, bottomFirst.data());

    std::vector<unsigned char> topFirst(bottomFirst.size());
    for (int row = 0; row < height; ++row)
        std::memcpy(&topFirst[row * stride], &bottomFirst[(height - 1 - row) * stride], stride);
    return topFirst;
}

bool writeBackBufferImage(const std::string& path, int width, int height)
{
    const std::vector<unsigned char> pixels = readBackBuffer(width, height);
    return stbi_write_png(path.c_str(), width, height, 3, pixels.data(), width * 3) != 0;
}
