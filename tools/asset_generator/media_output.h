// Failing loudly when a media file cannot be written, so the build step stops
// instead of leaving a half-filled asset pack behind.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

inline void requireWritten(bool written, const std::string& path)
{
    if (written)
        return;
    std::fprintf(stderr, "frostember-assets: cannot write %s\n", path.c_str());
    std::exit(1);
}
