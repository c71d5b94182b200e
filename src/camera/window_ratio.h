// The projection's aspect ratio from the window size. A minimised window reports
// a height (or width) of 0; the last valid ratio is kept then, so that no
// division by zero puts non-finite numbers into the matrices.
#pragma once

inline float aspectRatio(int width, int height, float lastAspect)
{
    if (width <= 0 || height <= 0)
        return lastAspect;
    return static_cast<float>(width) / static_cast<float>(height);
}
