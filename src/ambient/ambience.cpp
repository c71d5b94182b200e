// One frame: the loop's step, the cut while black, the scene's update and
// passes, the fade, the frame-rate line, the swap. The governor is fed the
// time the frame took to make, never the frame cap's period, or a capped
// frame rate would read as a slow machine.
#include "ambient/ambience.h"

#include "app/scene.h"
#include "app/scene_state.h"
#include "app/startup_profile.h"
#include "audio/audio_player.h"
#include "camera/camera.h"
#include "camera/frustum.h"
#include "camera/overlay.h"
#include "ambient/ambient_stats.h"
#include "platform/stop_signal.h"
#include "render/frame_passes.h"

#include <GL/glew.h>

#include <thread>

namespace {

// Long enough to use next to no processor, short enough to notice a stop
// signal or the window coming back within half a second.
constexpr double HIDDEN_WAIT_SECONDS = 0.5;

} // namespace

Ambience::Ambience(Surface& surface_, const AmbientOptions& options_, std::ostream* stats_, std::ostream* startup_)
    : surface(surface_), options(options_), stats(stats_), startup(startup_),
      period(options_.maxFps > 0 ? 1.0 / options_.maxFps : 0.0)
{
    if (stats != nullptr)
        *stats << ambientStatsHeader() << std::endl;
}

void Ambience::run()
{
    double frameStart = now();
    double lastStart = frameStart;
    while (stopSignal() == 0) {
        surface.processEvents(0.0);
        if (surface.closed())
            break;
        if (surface.hidden()) {
            waitWhileHidden();
            // The time spent hidden is no frame's: the flight goes on from where it stopped.
            frameStart = lastStart = now();
            continue;
        }
        if (paused)
            resume();
        screenAwake.hold(surface.wantsScreenAwake());
        const double work = runFrame(frameStart, frameStart - lastStart);
        scene.renderScale = governor.addFrame(work);
        lastStart = frameStart;
        frameStart = nextFrameStart(frameStart);
    }
    screenAwake.hold(false);
}

double Ambience::now() const
{
    return std::chrono::duration<double>(Clock::now() - origin).count();
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

double Ambience::runFrame(double frameStart, double delta)
{
    const LoopStep step = loop.advance(delta, scene.skyDimmed);
    drawScene(delta, step);
    surface.present();
    const double work = now() - frameStart;
    if (++frames == 1) {
        markStartupStage("first frame");
        if (startup != nullptr)
            *startup << startupStagesCsv(startupStages()) << std::flush;
    }
    if (stats != nullptr)
        writeStats(frameStart, delta, work, step);
    return work;
}

void Ambience::drawScene(double delta, const LoopStep& step)
{
    surface.size(scene.windowWidth, scene.windowHeight);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (step.cut)
        restartFlight();
    updateScene(static_cast<float>(delta));
    scene.frustum->update();
    renderFrame();
    fade.draw(step.brightness);
    if (options.showFps) {
        updateStatistics(scene.settings, delta);
        drawText(10, 20, statisticsLine(scene.settings, scene.objectsRendered).c_str());
    }
}

void Ambience::writeStats(double frameStart, double delta, double work, const LoopStep& step)
{
    AmbientFrameStats row;
    row.frame = frames;
    row.seconds = frameStart;
    row.deltaMs = 1000.0 * delta;
    row.workMs = 1000.0 * work;
    row.renderScale = scene.renderScale;
    row.phase = loop.phase;
    row.brightness = step.brightness;
    row.routeFinished = scene.camera->path.finished;
    *stats << ambientStatsRow(row) << std::endl;
}

// A frame that ends early waits for its slot, and the next one starts at the
// slot rather than whenever the wait happens to end: a capped frame is exactly
// one period long to the camera, which at 10 a second stands still on any frame
// a wake-up's lateness would push past 0.1 s.
double Ambience::nextFrameStart(double frameStart) const
{
    const double slot = frameStart + period;
    const double current = now();
    if (period <= 0.0 || current >= slot)
        return current;
    std::this_thread::sleep_for(std::chrono::duration<double>(slot - current));
    return slot;
}
