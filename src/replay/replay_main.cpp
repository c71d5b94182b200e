// frostember-replay: the program's set-up, frame loop and shutdown driven by a
// fixed time step instead of the clock, without the size prompts. It captures
// chosen frames as PNG images and writes per-frame CPU and GPU timings; the
// instrument for tests, benchmarks and screenshots. With --realtime it runs the
// program's own loop on the wall clock instead and reports the flight pace.
#include "app/frame_driver.h"
#include "app/program.h"
#include "app/scene.h"
#include "app/scene_state.h"
#include "app/startup_profile.h"
#include "camera/camera.h"
#include "layout/scene_layout.h"
#include "platform/gl_debug_report.h"
#include "platform/median.h"
#include "platform/program_window_surface.h"
#include "platform/report_line.h"
#include "platform/stop_signal.h"
#include "render/pass_timer.h"
#include "replay/film_writer.h"
#include "replay/flight_pace.h"
#include "replay/replay_capture.h"
#include "replay/replay_floor.h"
#include "replay/replay_options.h"
#include "replay/replay_stats.h"

#include <GL/glew.h>
#include <GLFW/glfw3.h>

#include <glm/glm.hpp>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The light only ever turns about z, so the rotation's first column gives its angle.
double sunAngleDegrees()
{
    const glm::mat4& rotation = scene.lightRotation;
    return glm::degrees(std::atan2(static_cast<double>(rotation[0][1]), static_cast<double>(rotation[0][0])));
}

// The listed and the periodic capture times that select this frame.
std::vector<double> captureTimesOf(long frame, const ReplayOptions& options)
{
    std::vector<double> times;
    if (options.captureEvery > 0.0)
        times = periodicCaptureTimes(frame, options.captureEvery, options.dt);
    for (const double time : options.captureTimes)
        if (captureFrame(time, options.dt) == frame)
            times.push_back(time);
    return times;
}

// Writes every capture that selects this frame; false when one could not be written.
bool writeCapturesOf(long frame, const ReplayOptions& options, int width, int height)
{
    bool written = true;
    for (const double time : captureTimesOf(frame, options)) {
        const std::string path = options.outDir + "/" + captureFileName(time);
        if (!writeBackBufferImage(path, width, height)) {
            reportLine("cannot write %s", path.c_str());
            written = false;
        }
    }
    return written;
}

// The scene as the frame left it.
void addSceneState(FrameStats& stats)
{
    stats.objectsRendered = scene.objectsRendered;
    stats.skyLight = scene.skyLight;
    stats.flicker = scene.flicker;
    stats.sunAngleDeg = sunAngleDegrees();
    stats.routeFinished = scene.camera->path.finished;
    stats.skyDimmed = scene.skyDimmed;
    stats.renderScale = scene.renderScale;
}

// The fixed step's frames: each one's captures and the film's frame are read
// from the back buffer before the swap, at the size the frame was drawn at.
class ReplayDriver : public FrameDriver {
public:
    ReplayDriver(Surface& surface_, const ReplayOptions& options_, FilmWriter* film_)
        : FrameDriver(surface_, FrameClock::fixedStep(options_.dt)), options(options_), film(film_)
    {
    }

    const ReplayOptions& options;
    FilmWriter* film; // null without a film
    bool outputsWritten = true;
    std::string filmRefusal; // why the film cannot go on; empty while it can

protected:
    void beforeSwap() override
    {
        const long frame = frames + 1;
        const int width = scene.windowWidth;
        const int height = scene.windowHeight;
        outputsWritten = writeCapturesOf(frame, options, width, height) && outputsWritten;
        if (film != nullptr && filmRefusal.empty() && !film->addFrame(readBackBuffer(width, height), width, height,
                                                                       filmRefusal))
            outputsWritten = false;
    }
};

// One frame in the order of the program's loop, with its steps timed; the
// captures are not part of the frame's wall time.
FrameStats replayFrame(ReplayDriver& driver, long frame)
{
    FrameStats stats;
    stats.frame = frame;
    stats.simTime = static_cast<double>(frame) * driver.options.dt;
    driver.runFrame();
    stats.updateCpuMs = 1000.0 * driver.times.update;
    stats.submitCpuMs = 1000.0 * driver.times.submit;
    stats.frameWallMs = 1000.0 * driver.times.made;
    collectPassTimes(stats.gpuMs);
    addSceneState(stats);
    return stats;
}

// A frame of the program's own loop: its route time, its length on the clock and
// the scene. The step and pass times stay empty: timing the steps apart, or
// waiting for the GPU's timer queries, would slow the pace being measured.
FrameStats clockedFrame(long frame, double routeSeconds, double delta)
{
    FrameStats stats;
    stats.frame = frame;
    stats.simTime = routeSeconds;
    stats.updateCpuMs = std::nan("");
    stats.submitCpuMs = std::nan("");
    std::fill(std::begin(stats.gpuMs), std::end(stats.gpuMs), std::nan(""));
    stats.frameWallMs = 1000.0 * delta;
    addSceneState(stats);
    return stats;
}

bool reportMissedCaptures(long framesRun, const ReplayOptions& options)
{
    bool allTaken = true;
    for (const double time : options.captureTimes) {
        if (captureFrame(time, options.dt) <= framesRun)
            continue;
        reportLine("capture at %.1f s not reached", time);
        allTaken = false;
    }
    return allTaken;
}

bool prepareOutputs(const ReplayOptions& options, std::ofstream& statsFile)
{
    if (!options.outDir.empty()) {
        std::error_code error;
        std::filesystem::create_directories(options.outDir, error);
        if (error) {
            reportLine("cannot create %s", options.outDir.c_str());
            return false;
        }
    }
    if (options.statsFile.empty())
        return true;
    statsFile.open(options.statsFile);
    if (!statsFile) {
        reportLine("cannot write %s", options.statsFile.c_str());
        return false;
    }
    statsFile << statsHeader() << '\n';
    return true;
}

bool finishStats(std::ofstream& statsFile, const ReplayOptions& options)
{
    if (!statsFile.is_open())
        return true;
    statsFile.close();
    if (!statsFile.fail())
        return true;
    reportLine("cannot write %s", options.statsFile.c_str());
    return false;
}

// Opened before the window, so that an unwritable path fails at once.
bool openStartupFile(const ReplayOptions& options, std::ofstream& startupFile)
{
    if (options.startupFile.empty())
        return true;
    startupFile.open(options.startupFile);
    if (startupFile)
        return true;
    reportLine("cannot write %s", options.startupFile.c_str());
    return false;
}

bool finishStartupFile(std::ofstream& startupFile, const ReplayOptions& options)
{
    if (!startupFile.is_open())
        return true;
    startupFile << startupStagesCsv(startupStages());
    startupFile.close();
    if (!startupFile.fail())
        return true;
    reportLine("cannot write %s", options.startupFile.c_str());
    return false;
}

// Names the renderer and, where the scene is drawn, its quality tier, so that
// every set of timings says what produced it.
void printRenderer(bool sceneDrawn)
{
    const GLubyte* renderer = glGetString(GL_RENDERER);
    reportLine("renderer %s", renderer != nullptr ? reinterpret_cast<const char*>(renderer) : "unknown");
    if (sceneDrawn)
        reportLine("quality %s", qualityTierName(scene.qualityTier));
}

// The program's own loop on the window system's clock for `seconds` of wall time,
// with a row of `statsFile` for each frame when it is open; returns the median
// frame in milliseconds after printing the pace and the scale the flight was
// drawn at. Both are measured until the camera reaches the end of its route:
// after that it holds still by design, however long the frames.
double runRealtime(FrameDriver& driver, double seconds, std::ofstream& statsFile)
{
    std::vector<double> deltas;
    std::vector<double> scales;
    std::vector<double> milliseconds;
    double routeSeconds = 0.0;
    const double end = glfwGetTime() + seconds;
    while (!driver.surface.closed() && glfwGetTime() < end) {
        const bool flying = !scene.camera->path.finished;
        driver.runFrame();
        const double delta = driver.times.delta;
        if (driver.frames == 1)
            markStartupStage("first frame");
        else
            milliseconds.push_back(1000.0 * delta);
        if (frameMovesCamera(static_cast<float>(delta)))
            routeSeconds += delta;
        if (statsFile.is_open())
            statsFile << statsRow(clockedFrame(driver.frames, routeSeconds, delta)) << '\n';
        if (flying) {
            deltas.push_back(delta);
            scales.push_back(scene.renderScale);
        }
    }
    const FlightPace pace = measureFlightPace(deltas);
    const double lowestScale = scales.empty() ? 0.0 : *std::min_element(scales.begin(), scales.end());
    reportLine("realtime %zu frames in %.3f s after the first, flight pace %.2f %%, "
               "%d frames over 0.1 s, scale median %.2f lowest %.2f%s",
               deltas.empty() ? 0 : deltas.size() - 1, pace.wallSeconds, 100.0 * pace.pace, pace.stalledFrames,
               median(scales), lowestScale, scene.camera->path.finished ? ", route flown" : "");
    return median(milliseconds);
}

// The film's length in frames, known in advance only roughly without --frames:
// the route, the sunset, then the hold.
long expectedFrames(const ReplayOptions& options)
{
    if (!options.untilEnd)
        return options.frames;
    return std::lround((layout::ROUTE_SECONDS + layout::SUNSET_SECONDS + options.holdSeconds) / options.dt);
}

// One line on standard error, rewritten in place, while a film renders.
void showFilmProgress(long frame, long expected, Clock::time_point start)
{
    const double perFrame = std::chrono::duration<double>(Clock::now() - start).count() / static_cast<double>(frame);
    const long left = std::lround(perFrame * static_cast<double>(std::max(expected - frame, 0L)));
    std::fprintf(stderr, "\rfilm: frame %ld of %s%ld, %ld:%02ld left ", frame, frame < expected ? "about " : "",
                 std::max(expected, frame), left / 60, left % 60);
}

// A film given up for a stop signal is reported by abandonFilm alone.
bool finishFilm(FilmWriter& film, const ReplayOptions& options)
{
    std::string error;
    if (!film.finish(error)) {
        if (stopSignal() == 0)
            reportLine("%s", error.c_str());
        return false;
    }
    reportLine("film of %ld frames written to %s", film.frames, options.videoFile.c_str());
    return true;
}

// After a stop signal: no piece of the film stays, one line says so, and the
// status is the shell's for that signal.
int abandonFilm(FilmWriter& film, const ReplayOptions& options)
{
    film.abandon();
    const int signal = stopSignal();
    reportLine("%s: film %s not made", strsignal(signal), options.videoFile.c_str());
    return 128 + signal;
}

// A scale given on the command line holds for the whole run, whatever the frame times.
void forceScale(FrameDriver& driver, float scale)
{
    if (scale <= 0.0f)
        return;
    scene.renderScale = scale;
    driver.governed = false;
}

} // namespace

int main(int argc, char** argv)
{
    const ParsedReplayOptions parsed = parseReplayOptions({argv + 1, argv + argc});
    if (!parsed.options) {
        reportLine("%s", parsed.refusal.c_str());
        std::cerr << REPLAY_USAGE << std::endl;
        return 2;
    }
    const ReplayOptions& options = *parsed.options;
    if (options.help || options.version) {
        std::cout << (options.help ? replayHelp() : "frostember-replay " FROSTEMBER_VERSION "\n") << std::flush;
        return 0;
    }
    std::ofstream statsFile;
    std::ofstream startupFile;
    if (!prepareOutputs(options, statsFile) || !openStartupFile(options, startupFile))
        return 1;
    FilmWriter film;
    std::string filmError;
    const bool filming = !options.videoFile.empty();
    if (filming && !film.prepare(options.videoFile, filmError)) {
        reportLine("%s", filmError.c_str());
        return 1;
    }
    // Captures and films are not bound to the clock: they show the picture at its best.
    scene.qualityRequest = {.option = options.quality,
                            .showcase = filming || !options.captureTimes.empty() || options.captureEvery > 0.0};
    // The options are the tool's own: GLUT sees only the program name.
    if (options.floor)
        startFloor(options.width, options.height, options.glDebug);
    else
        startUp(1, argv, {.width = options.width, .height = options.height, .debugContext = options.glDebug,
                          .tool = true});
    printRenderer(!options.floor);
    // Waiting for the timer queries every frame would only slow a run without
    // timings, or set the pace of one on the clock.
    enablePassTiming(statsFile.is_open() && !options.floor && options.realtimeSeconds == 0.0);

    scene.settings.redrawShadowMaps = options.redrawShadows;
    ProgramWindowSurface window(scene.window);
    if (options.realtimeSeconds > 0.0) {
        // The program's own clock, started with the window system.
        FrameDriver driver(window, FrameClock::wall(glfwGetTime, 0.0));
        forceScale(driver, options.scale);
        const double medianMs = runRealtime(driver, options.realtimeSeconds, statsFile);
        shutDown();
        reportLine("median frame %.3f ms", medianMs);
        const bool written = finishStats(statsFile, options) && finishStartupFile(startupFile, options);
        return written && glDebugMessagesReported() == 0 ? 0 : 1;
    }

    // Nothing of the film exists before its encoder starts, so until then Ctrl-C
    // ends the tool at once, as any program, in the start-up's loading and in
    // the console's pause after a refused window alike.
    if (filming)
        catchStopSignals();
    if (filming && !film.start(options.width, options.height, options.fps, filmError)) {
        reportLine("%s", filmError.c_str());
        shutDown();
        return 1;
    }

    ReplayDriver driver(window, options, filming ? &film : nullptr);
    forceScale(driver, options.scale);
    std::vector<double> frameWalls;
    const long expected = filming ? expectedFrames(options) : 0;
    const long heldFrames = std::lround(options.holdSeconds / options.dt);
    const Clock::time_point start = Clock::now();
    long frame = 0;
    long dimmedFor = 0;
    while (!window.closed() && stopSignal() == 0) {
        ++frame;
        const FrameStats stats = options.floor ? floorFrame(driver, frame, options.dt) : replayFrame(driver, frame);
        if (frame == 1)
            markStartupStage("first frame");
        frameWalls.push_back(stats.frameWallMs);
        if (statsFile.is_open())
            statsFile << statsRow(stats) << '\n';
        if (filming)
            showFilmProgress(frame, expected, start);
        if (filming && !driver.outputsWritten)
            break;
        dimmedFor += scene.skyDimmed ? 1 : 0;
        if (options.untilEnd ? dimmedFor > heldFrames : frame >= options.frames)
            break;
    }
    if (options.floor)
        shutDownFloor();
    else
        shutDown();
    if (filming)
        std::fputs("\n", stderr); // ends the progress line
    // A film whose frames stopped matching its size would be sheared: none is made.
    if (!driver.filmRefusal.empty()) {
        film.abandon();
        reportLine("%s", driver.filmRefusal.c_str());
        finishStats(statsFile, options);
        return 1;
    }
    const bool filmWritten = !filming || (stopSignal() == 0 && finishFilm(film, options));
    if (!filmWritten && stopSignal() != 0)
        return abandonFilm(film, options);

    reportLine("%ld frames, %.3f s simulated, median frame %.3f ms", frame, static_cast<double>(frame) * options.dt,
               median(frameWalls));
    const bool statsWritten = finishStats(statsFile, options) && finishStartupFile(startupFile, options);
    const bool capturesTaken = reportMissedCaptures(frame, options);
    // A debug context's messages of high or medium severity fail the run.
    const bool glClean = glDebugMessagesReported() == 0;
    return statsWritten && driver.outputsWritten && capturesTaken && filmWritten && glClean ? 0 : 1;
}
