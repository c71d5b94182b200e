// The flight pace from a list of frame deltas.
#include "replay/flight_pace.h"

#include <gtest/gtest.h>

TEST(FlightPace, TheFirstFrameIsLeftOutAndLongFramesCountAsStalls)
{
    struct Case {
        std::vector<double> deltas;
        double wall;
        double route;
        int stalled;
    };
    const Case cases[] = {
        {{}, 0.0, 0.0, 0},
        {{0.9}, 0.0, 0.0, 0},                                   // only the start-up frame
        {{0.9, 0.02, 0.02, 0.02}, 0.06, 0.06, 0},               // never stalled
        {{0.9, 0.05, 0.25, 0.05, 0.1}, 0.45, 0.2, 1},           // 0.1 s still moves the camera
        {{0.01, 0.2, 0.3}, 0.5, 0.0, 2},                        // every frame after the first too long
        {{0.9, 0.1000001, 0.1}, 0.2000001, 0.1, 1},             // just past the limit
    };
    for (const Case& c : cases) {
        const FlightPace pace = measureFlightPace(c.deltas);
        SCOPED_TRACE(testing::PrintToString(c.deltas));
        EXPECT_NEAR(pace.wallSeconds, c.wall, 1e-12);
        EXPECT_NEAR(pace.routeSeconds, c.route, 1e-12);
        EXPECT_EQ(pace.stalledFrames, c.stalled);
        EXPECT_NEAR(pace.pace, c.wall > 0.0 ? c.route / c.wall : 0.0, 1e-12);
    }
}
