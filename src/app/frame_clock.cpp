// The deltas and the frame cap's wait.
#include "app/frame_clock.h"

#include <chrono>
#include <thread>

FrameClock FrameClock::wall(Source now, double lastStart, int maxFps)
{
    FrameClock clock;
    clock.now = now;
    clock.lastStart = lastStart;
    clock.period = maxFps > 0 ? 1.0 / maxFps : 0.0;
    return clock;
}

FrameClock FrameClock::fixedStep(double step)
{
    FrameClock clock;
    clock.step = step;
    return clock;
}

double FrameClock::startFrame()
{
    if (fixed())
        return step;
    const double start = slot >= 0.0 ? slot : now();
    slot = -1.0;
    const double delta = start - lastStart;
    lastStart = start;
    return delta;
}

// A capped frame that ends early waits, and the next one starts on the slot
// rather than whenever the wait happens to end: to the camera a capped frame is
// then exactly one period long, which at 10 a second stands still on any frame
// a wake-up's lateness would push past 0.1 s.
void FrameClock::finishFrame()
{
    if (fixed() || period <= 0.0)
        return;
    const double next = lastStart + period;
    const double current = now();
    if (current >= next)
        return;
    std::this_thread::sleep_for(std::chrono::duration<double>(next - current));
    slot = next;
}

void FrameClock::skipPause()
{
    if (fixed())
        return;
    lastStart = now();
    slot = -1.0;
}

double steadySeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}
