// CSV formatting of the per-frame timings.
#include "app/replay_stats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

std::string milliseconds(double value)
{
    if (std::isnan(value))
        return "";
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", value);
    return text;
}

} // namespace

std::string statsHeader()
{
    return "frame,sim_time,update_cpu_ms,submit_cpu_ms,gpu_dir_shadow_ms,gpu_point_shadow_ms,"
           "gpu_main_ms,gpu_sky_ms,gpu_particles_ms,frame_wall_ms,objects_rendered";
}

std::string statsRow(const FrameStats& stats)
{
    char start[64];
    std::snprintf(start, sizeof start, "%ld,%.6f", stats.frame, stats.simTime);
    std::string row = start;
    const auto addField = [&row](const std::string& field) {
        row += ',';
        row += field;
    };
    addField(milliseconds(stats.updateCpuMs));
    addField(milliseconds(stats.submitCpuMs));
    for (const double gpu : stats.gpuMs)
        addField(milliseconds(gpu));
    addField(milliseconds(stats.frameWallMs));
    addField(std::to_string(stats.objectsRendered));
    return row;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    const size_t middle = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + middle, values.end());
    if (values.size() % 2 == 1)
        return values[middle];
    const double upper = values[middle];
    const double lower = *std::max_element(values.begin(), values.begin() + middle);
    return (lower + upper) / 2.0;
}
