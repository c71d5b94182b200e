// CSV formatting of the per-frame timings.
#include "replay/replay_stats.h"

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

std::string fixed(double value, int decimals)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

} // namespace

std::string statsHeader()
{
    std::string header = "frame,sim_time,update_cpu_ms,submit_cpu_ms";
    for (const FramePassRow& pass : FRAME_PASSES)
        header += std::string(",") + pass.statsColumn;
    return header + ",frame_wall_ms,objects_rendered,sky_light,flicker,sun_angle_deg,route_finished,sky_dimmed,scale";
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
    addField(fixed(stats.skyLight, 6));
    addField(fixed(stats.flicker, 6));
    addField(fixed(stats.sunAngleDeg, 4));
    addField(stats.routeFinished ? "1" : "0");
    addField(stats.skyDimmed ? "1" : "0");
    addField(fixed(stats.renderScale, 3));
    return row;
}
