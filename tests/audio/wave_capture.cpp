// RIFF parsing and the Goertzel filter for the audio tests.
#include "wave_capture.h"

#include "support/process.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>

namespace {

std::uint32_t little32(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
}

std::uint16_t little16(const std::string& bytes, std::size_t at)
{
    std::uint16_t value = 0;
    std::memcpy(&value, bytes.data() + at, 2);
    return value;
}

} // namespace

WaveCapture readWaveCapture(const std::string& path)
{
    const std::string bytes = readFile(path);
    WaveCapture capture;
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) {
        return capture;
    }
    int channels = 0;
    int bits = 0;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::string id = bytes.substr(at, 4);
        const std::size_t size = little32(bytes, at + 4);
        const std::size_t body = at + 8;
        if (id == "fmt " && body + 16 <= bytes.size()) {
            channels = little16(bytes, body + 2);
            capture.rate = static_cast<int>(little32(bytes, body + 4));
            bits = little16(bytes, body + 14);
        } else if (id == "data") {
            if (bits != 16 || channels < 1) {
                return WaveCapture{};
            }
            // A writer never closed leaves the size unset; then the data runs to the end.
            capture.finished = size != 0 && body + size <= bytes.size();
            const std::size_t end = capture.finished ? body + size : bytes.size();
            const std::size_t frameBytes = 2u * static_cast<std::size_t>(channels);
            for (std::size_t frame = body; frame + frameBytes <= end; frame += frameBytes) {
                capture.left.push_back(static_cast<std::int16_t>(little16(bytes, frame)) / 32768.0f);
            }
            return capture;
        }
        at = body + size + (size & 1u);
    }
    return WaveCapture{};
}

double toneAmplitude(const WaveCapture& capture, double frequency, std::size_t begin, std::size_t count)
{
    if (count == 0 || begin + count > capture.left.size()) {
        return 0.0;
    }
    const double coefficient = 2.0 * std::cos(2.0 * std::numbers::pi * frequency / capture.rate);
    double previous = 0.0;
    double beforePrevious = 0.0;
    for (std::size_t i = begin; i < begin + count; ++i) {
        const double current = capture.left[i] + coefficient * previous - beforePrevious;
        beforePrevious = previous;
        previous = current;
    }
    const double power = previous * previous + beforePrevious * beforePrevious - coefficient * previous * beforePrevious;
    return 2.0 * std::sqrt(std::max(power, 0.0)) / static_cast<double>(count);
}

std::size_t toneOnset(const WaveCapture& capture, double frequency, double amplitude)
{
    const std::size_t window = static_cast<std::size_t>(capture.rate / 100);
    for (std::size_t begin = 0; window > 0 && begin + window <= capture.left.size(); begin += window) {
        if (toneAmplitude(capture, frequency, begin, window) >= amplitude) {
            return begin;
        }
    }
    return capture.left.size();
}
