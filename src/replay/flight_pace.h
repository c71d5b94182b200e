// How well the camera kept its designed pace over a run on the wall clock.
#pragma once

#include <vector>

struct FlightPace {
    double wallSeconds = 0.0;   // the frames after the first
    double routeSeconds = 0.0;  // the part of it the camera moved on
    double pace = 0.0;          // routeSeconds / wallSeconds; 1 = it never stalled
    int stalledFrames = 0;      // frames after the first that were too long to move it
};

// The first frame is left out: its delta holds the whole start-up, and no
// machine could move the camera on it. With no frame after it the pace is 0.
FlightPace measureFlightPace(const std::vector<double>& frameDeltas);
