// The timings file: its header and the format of one row.
#include "replay/replay_stats.h"

#include <gtest/gtest.h>

#include <limits>

TEST(ReplayStats, HeaderNamesEveryColumnInOrder)
{
    EXPECT_EQ(statsHeader(), "frame,sim_time,update_cpu_ms,submit_cpu_ms,gpu_dir_shadow_ms,gpu_point_shadow_ms,"
                             "gpu_main_ms,gpu_sky_ms,gpu_particles_ms,frame_wall_ms,objects_rendered,"
                             "sky_light,flicker,sun_angle_deg,route_finished,sky_dimmed,scale");
}

TEST(ReplayStats, RowHasOneFieldPerColumnAndEmptyFieldsForPassesNotTimed)
{
    FrameStats stats;
    stats.frame = 12;
    stats.simTime = 1.2;
    stats.updateCpuMs = 0.25;
    stats.submitCpuMs = 1.5;
    const double notTimed = std::numeric_limits<double>::quiet_NaN();
    const double gpu[] = {2.0, 3.125, 4.5, notTimed, 0.0625};
    std::copy(std::begin(gpu), std::end(gpu), stats.gpuMs);
    stats.frameWallMs = 16.75;
    stats.objectsRendered = 41;
    stats.skyLight = 0.5f;
    stats.flicker = 4.25f;
    stats.sunAngleDeg = 33.6;
    stats.routeFinished = true;
    stats.skyDimmed = false;
    stats.renderScale = 0.7f;
    EXPECT_EQ(statsRow(stats),
              "12,1.200000,0.2500,1.5000,2.0000,3.1250,4.5000,,0.0625,16.7500,41,0.500000,4.250000,33.6000,1,0,"
              "0.700");
}
