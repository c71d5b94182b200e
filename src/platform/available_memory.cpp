// Reading the kernel's estimate of available memory.
#include "platform/available_memory.h"

#include <fstream>
#include <sstream>
#include <string>

std::uint64_t memAvailableBytes(std::istream& meminfo)
{
    // Lines are "Name:   value kB", though a few counters have no unit.
    for (std::string line; std::getline(meminfo, line);) {
        std::istringstream fields(line);
        std::string key;
        std::uint64_t kilobytes = 0;
        if (fields >> key >> kilobytes && key == "MemAvailable:")
            return kilobytes * 1024;
    }
    return 0;
}

std::uint64_t availableMemoryBytes()
{
    std::ifstream meminfo("/proc/meminfo");
    return memAvailableBytes(meminfo);
}
