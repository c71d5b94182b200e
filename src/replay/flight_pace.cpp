// The flight pace: the camera moves at its designed rate on every frame it moves
// at all, so the route time gained is the time of the frames that moved it.
#include "replay/flight_pace.h"

#include "camera/camera.h"

FlightPace measureFlightPace(const std::vector<double>& frameDeltas)
{
    FlightPace result;
    for (std::size_t i = 1; i < frameDeltas.size(); ++i) {
        const double delta = frameDeltas[i];
        result.wallSeconds += delta;
        if (frameMovesCamera(static_cast<float>(delta)))
            result.routeSeconds += delta;
        else
            ++result.stalledFrames;
    }
    if (result.wallSeconds > 0.0)
        result.pace = result.routeSeconds / result.wallSeconds;
    return result;
}
