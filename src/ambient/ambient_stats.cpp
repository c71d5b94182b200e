// CSV rows of the ambient program's frames.
#include "ambient/ambient_stats.h"

#include <cstdio>

namespace {

const char* phaseName(LoopPhase phase)
{
    switch (phase) {
    case LoopPhase::Flight:
        return "flight";
    case LoopPhase::Dusk:
        return "dusk";
    case LoopPhase::FadeOut:
        return "fade_out";
    case LoopPhase::Black:
        return "black";
    case LoopPhase::FadeIn:
        return "fade_in";
    }
    return "";
}

} // namespace

std::string ambientStatsHeader()
{
    return "frame,seconds,delta_ms,work_ms,render_scale,phase,brightness,route_finished";
}

std::string ambientStatsRow(const AmbientFrameStats& stats)
{
    char row[160];
    std::snprintf(row, sizeof row, "%ld,%.6f,%.3f,%.3f,%.2f,%s,%.4f,%d", stats.frame, stats.seconds, stats.deltaMs,
                  stats.workMs, static_cast<double>(stats.renderScale), phaseName(stats.phase),
                  static_cast<double>(stats.brightness), stats.routeFinished ? 1 : 0);
    return row;
}
