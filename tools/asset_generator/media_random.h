// A small seeded generator for the media assets: the same seed gives the same
// numbers on every machine and every run, which keeps the generated files identical.
#pragma once

#include <cstdint>

class MediaRandom {
public:
    explicit MediaRandom(std::uint64_t seed) : state(seed) {}

    // splitmix64: good enough spread for noise and scattering, and trivially portable.
    std::uint64_t next()
    {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // Uniform in [0, 1).
    double uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }

    double range(double low, double high) { return low + (high - low) * uniform(); }

    // Uniform in [-1, 1).
    double signedUnit() { return 2.0 * uniform() - 1.0; }

    // White noise read by frame, uniform in [-1, 1): the value depends only on the
    // seed and the frame, so a sound can be made in any order and in one pass.
    static float noiseAt(std::uint64_t seed, std::uint64_t frame)
    {
        MediaRandom at(seed + frame * 0x9E3779B97F4A7C15ull);
        return static_cast<float>(at.signedUnit());
    }

private:
    std::uint64_t state;
};
