// The loop around the frame driver: what to do while the surface is hidden,
// the loop's phases before each update, the fade and the frame-rate line over
// each frame, and a row of timings after it.
#include "ambient/ambience.h"

#include "app/scene.h"
#include "app/scene_state.h"
#include "app/startup_profile.h"
#include "audio/audio_player.h"
#include "camera/camera.h"
#include "camera/overlay.h"
#include "ambient/ambient_stats.h"
#include "platform/stop_signal.h"

namespace {

// Long enough to use next to no processor, short enough to notice a stop
// signal or the window coming back within half a second.
constexpr double HIDDEN_WAIT_SECONDS = 0.5;

} // namespace

Ambience::Ambience(Surface& surface_, const AmbientOptions& options_, std::ostream* stats_, std::ostream* startup_)
    : FrameDriver(surface_, FrameClock::wall(steadySeconds, steadySeconds(), options_.maxFps)), options(options_),
      stats(stats_), startup(startup_), origin(clock.lastStart)
{
    if (stats != nullptr)
        *stats << ambientStatsHeader() << std::endl;
}

void Ambience::run()
{
    while (stopSignal() == 0 && !surface.closed()) {
        if (surface.hidden()) {
            waitWhileHidden();
            // The time spent hidden is no frame's: the flight goes on from where it stopped.
            clock.skipPause();
            continue;
        }
        if (paused)
            resume();
        screenAwake.hold(surface.wantsScreenAwake());
        runFrame();
        if (frames == 1) {
            markStartupStage("first frame");
            if (startup != nullptr)
                *startup << startupStagesCsv(startupStages()) << std::flush;
        }
        if (stats != nullptr)
            writeStats();
    }
    screenAwake.hold(false);
}

void Ambience::waitWhileHidden()
{
    if (!paused) {
        pauseAudio(*scene.audio, true);
        screenAwake.hold(false);
        paused = true;
    }
    surface.processEvents(HIDDEN_WAIT_SECONDS);
}

void Ambience::resume()
{
    pauseAudio(*scene.audio, false);
    paused = false;
}

void Ambience::beforeUpdate(double delta)
{
    step = loop.advance(delta, scene.skyDimmed);
    if (step.cut)
        restartFlight();
}

void Ambience::overlay(double delta)
{
    fade.draw(step.brightness);
    if (options.showFps) {
        updateStatistics(scene.settings, delta);
        drawText(10, 20, statisticsLine(scene.settings, scene.objectsRendered).c_str());
    }
}

void Ambience::writeStats()
{
    AmbientFrameStats row;
    row.frame = frames;
    row.seconds = clock.lastStart - origin;
    row.deltaMs = 1000.0 * times.delta;
    row.workMs = 1000.0 * times.made;
    row.renderScale = scene.renderScale;
    row.phase = loop.phase;
    row.brightness = step.brightness;
    row.routeFinished = scene.camera->path.finished;
    *stats << ambientStatsRow(row) << std::endl;
}
