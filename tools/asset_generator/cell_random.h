// A repeatable value in 0..1 for two integer cell coordinates and a seed: the
// procedural textures and the sky scatter their details by it, so the same cell
// always gets the same detail.
#pragma once

#include <cstdint>

inline float cellRandom(int a, int b, uint32_t seed)
{
    uint32_t h = static_cast<uint32_t>(a) * 0x9E3779B1u ^ static_cast<uint32_t>(b) * 0x85EBCA77u ^ seed * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return static_cast<float>(h & 0xFFFFFF) / 16777216.0f;
}
