// Files the generator writes. A file that cannot be written throws, and main
// reports it and fails, so the build step stops instead of leaving a
// half-filled asset pack behind.
#pragma once

#include <cstdio>
#include <stdexcept>
#include <string>

inline void requireWritten(bool written, const std::string& path)
{
    if (!written)
        throw std::runtime_error("cannot write " + path);
}

inline std::FILE* openForWriting(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    requireWritten(file != nullptr, path);
    return file;
}

// Closes a file from openForWriting; a write that failed on the way, a full
// disk say, throws here.
inline void closeWritten(std::FILE* file, const std::string& path)
{
    const bool written = std::ferror(file) == 0;
    requireWritten(std::fclose(file) == 0 && written, path);
}
