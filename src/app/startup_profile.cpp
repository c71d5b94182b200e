// Start-up stages timed from the process start. The kernel's start time has only
// clock-tick resolution, so it is read once, at static initialisation, to learn how
// long the loader ran before this code; later stages use the monotonic clock.
#include "app/startup_profile.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

// Seconds between the process start and now, from /proc; 0 when unreadable.
double secondsSinceProcessStart()
{
    std::ifstream file("/proc/self/stat");
    std::string stat;
    std::getline(file, stat);
    // The command name may hold spaces and parentheses: fields follow the last ')'.
    const size_t nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos)
        return 0.0;
    std::istringstream fields(stat.substr(nameEnd + 2));
    std::string field;
    // The start time is field 22 of the line, the 20th after the name.
    for (int i = 0; i < 20 && fields >> field; ++i) {
    }
    unsigned long long startTicks = 0;
    timespec boot{};
    const long ticksPerSecond = sysconf(_SC_CLK_TCK);
    if (!(fields >> startTicks) || ticksPerSecond <= 0 || clock_gettime(CLOCK_BOOTTIME, &boot) != 0)
        return 0.0;
    const double elapsed = static_cast<double>(boot.tv_sec) + static_cast<double>(boot.tv_nsec) * 1e-9 -
                           static_cast<double>(startTicks) / static_cast<double>(ticksPerSecond);
    // A negative or implausible figure means the clocks disagree: trust only our own.
    return elapsed > 0.0 && elapsed < 60.0 ? elapsed : 0.0;
}

Clock::time_point processStart()
{
    const auto loaderTime = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(secondsSinceProcessStart()));
    return Clock::now() - loaderTime;
}

const Clock::time_point PROCESS_START = processStart();

std::vector<StartupStage>& stages()
{
    static std::vector<StartupStage> recorded;
    return recorded;
}

} // namespace

void markStartupStage(const char* name)
{
    stages().push_back({name, std::chrono::duration<double>(Clock::now() - PROCESS_START).count()});
}

const std::vector<StartupStage>& startupStages()
{
    return stages();
}

std::string startupStagesCsv(const std::vector<StartupStage>& stages)
{
    std::string csv = "stage,seconds\n";
    for (const StartupStage& stage : stages) {
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%.6f", stage.seconds);
        csv += stage.name + "," + seconds + "\n";
    }
    return csv;
}
