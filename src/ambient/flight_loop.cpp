// The loop's phases and their timing.
#include "ambient/flight_loop.h"

LoopStep FlightLoop::advance(double seconds, bool sunsetEnded)
{
    const bool cut = phase == LoopPhase::Black;
    if (cut || (phase == LoopPhase::Flight && sunsetEnded)) {
        phase = cut ? LoopPhase::FadeIn : LoopPhase::Dusk;
        phaseSeconds = 0.0;
    }
    if (phase != LoopPhase::Flight)
        phaseSeconds += seconds;

    if (phase == LoopPhase::Dusk && phaseSeconds >= DUSK_SECONDS) {
        phase = LoopPhase::FadeOut;
        phaseSeconds -= DUSK_SECONDS;
    }
    if (phase == LoopPhase::FadeOut && phaseSeconds >= FADE_SECONDS) {
        phase = LoopPhase::Black;
        phaseSeconds = 0.0;
    }
    if (phase == LoopPhase::FadeIn && phaseSeconds >= FADE_SECONDS) {
        phase = LoopPhase::Flight;
        phaseSeconds = 0.0;
    }
    return {cut, brightness()};
}

float FlightLoop::brightness() const
{
    const float faded = static_cast<float>(phaseSeconds / FADE_SECONDS);
    switch (phase) {
    case LoopPhase::FadeOut:
        return 1.0f - faded;
    case LoopPhase::Black:
        return 0.0f;
    case LoopPhase::FadeIn:
        return faded;
    default:
        return 1.0f;
    }
}
