// The scaled targets the frame has lately been drawn at, one for each size. The
// governor moves between a few scales for as long as the program runs, and a
// target made again at every move costs a software renderer memory that it
// never gives back; kept, each size's storage is made once.
#pragma once

#include "render/scale_governor.h"
#include "render/scaled_target.h"

#include <memory>
#include <vector>

class ScaledTargetSet {
public:
    // One target for each scale the governor can choose below the full size;
    // beyond that (a window resized) the one unused the longest goes.
    static constexpr std::size_t CAPACITY = FULL_SCALE_TENTHS - FLOOR_SCALE_TENTHS;

    // The target made for exactly this size, or a new one whose storage its
    // first bind at that size makes.
    ScaledTarget& forSize(int width, int height);

    std::vector<std::unique_ptr<ScaledTarget>> targets; // the least recently used first
};
