// The largest window this machine can carry. Creating a window already makes its
// context current and allocates buffers of the window's size, which the software
// rasteriser then copies to the X server, so a size beyond the limits must be
// refused before that window exists: afterwards it may already have crashed.
#pragma once

#include <cstdint>

struct WindowLimits {
    int largestWidth = 0;          // the widest surface the context draws; 0 when unknown
    int largestHeight = 0;         // the tallest; 0 when unknown
    bool softwareRenderer = true;  // whether the buffers are in system memory; assumed when unknown
    std::uint64_t systemBytes = 0; // system memory still available; 0 when unknown
    std::uint64_t videoBytes = 0;  // video memory the driver reports; 0 when it reports none
};

// Learns the limits from a small hidden window and its context, destroyed again
// before it returns; GLFW must be initialised. Leaves no window hint in force,
// the current context as it was and GLEW initialised on the probe's context.
WindowLimits probeWindowLimits();

// Memory the window's colour, depth and stencil buffers take, with the copy of
// its image on the way to the X server.
std::uint64_t windowBufferBytes(int width, int height);

// Whether a window of width x height can be made and drawn whole: each edge
// within the largest said and X's 16 bits, its buffers within half of the memory
// they come from: system memory on a software rasteriser, the reported video
// memory on hardware, where without a figure only the edges count.
bool windowSizeFits(const WindowLimits& limits, int width, int height);
