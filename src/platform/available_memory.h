// The memory the system can still hand out without swapping, as the kernel
// estimates it.
#pragma once

#include <cstdint>
#include <istream>

// MemAvailable of a /proc/meminfo text in bytes; 0 when the text has no such line.
std::uint64_t memAvailableBytes(std::istream& meminfo);

// The same for this machine now; 0 when the system does not say.
std::uint64_t availableMemoryBytes();
