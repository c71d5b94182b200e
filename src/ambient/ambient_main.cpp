// frostember-ambient: the winter room as an ambient scene, the flight looping
// for ever, full screen, in a window, or in a window a screensaver daemon hands
// over. It never prompts and never pauses: its own failures are one line on
// standard error with status 1, usage errors status 2, and SIGTERM ends it
// with status 0.
#include "ambient/ambience.h"
#include "ambient/ambient_options.h"
#include "app/scene.h"
#include "app/scene_state.h"
#include "app/startup_profile.h"
#include "audio/audio_player.h"
#include "platform/console.h"
#include "platform/exclusive_lock.h"
#include "platform/foreign_window_surface.h"
#include "platform/gl_debug_report.h"
#include "platform/glfw_surface.h"
#include "platform/report_line.h"
#include "platform/stop_signal.h"
#include "render/gl_capabilities.h"

#include <GL/freeglut.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>

namespace {

// XScreenSaver starts one hack per monitor: of all the ambient programs
// running for this user, the first to take this lock plays the sound.
std::string soundLockPath()
{
    const char* runtimeDir = std::getenv("XDG_RUNTIME_DIR");
    if (runtimeDir != nullptr && *runtimeDir != '\0')
        return std::string(runtimeDir) + "/frostember-ambient-sound.lock";
    return "/tmp/frostember-ambient-sound-" + std::to_string(getuid()) + ".lock";
}

// Opened before the window, so that an unwritable path fails at once.
bool openOutput(const std::string& path, std::ofstream& file)
{
    if (path.empty())
        return true;
    file.open(path);
    if (file)
        return true;
    reportLine("cannot write %s", path.c_str());
    return false;
}

// A window of our own becomes the scene's window, so the scene's own GLFW
// calls (its title, its size) go to it.
std::unique_ptr<Surface> openSurface(const AmbientOptions& options, std::string& error)
{
    if (options.surface == SurfaceChoice::ForeignWindow)
        return ForeignWindowSurface::open(options.windowId, options.glDebug, error);
    std::unique_ptr<GlfwSurface> own =
        GlfwSurface::open(options.width, options.height, "Frostember", options.glDebug, error);
    if (own)
        scene.window = own->window;
    return own;
}

// Why the surface's context cannot be drawn with as asked; empty when it can.
std::string contextRefusal(const AmbientOptions& options)
{
    const std::string missing = missingGlCapabilities(currentGlCapabilities());
    if (!missing.empty())
        return missing;
    if (options.glDebug && !startGlDebugReport())
        return GL_DEBUG_UNAVAILABLE;
    return {};
}

} // namespace

int main(int argc, char** argv)
{
    catchStopSignals();
    const AmbientParse parsed = parseAmbientOptions({argv + 1, argv + argc}, std::getenv("XSCREENSAVER_WINDOW"));
    if (!parsed.options) {
        reportLine("%s", parsed.refusal.c_str());
        std::cerr << AMBIENT_USAGE << std::endl;
        return 2;
    }
    const AmbientOptions& options = *parsed.options;
    if (options.help || options.version) {
        std::cout << (options.help ? ambientHelp() : "frostember-ambient " FROSTEMBER_VERSION "\n") << std::flush;
        return 0;
    }
    turnOffConsolePause();

    std::ofstream stats;
    std::ofstream startup;
    if (!openOutput(options.statsFile, stats) || !openOutput(options.startupFile, startup))
        return 1;
    std::string error;
    const std::unique_ptr<Surface> surface = openSurface(options, error);
    if (surface)
        error = contextRefusal(options);
    if (!error.empty()) {
        reportLine("%s", error.c_str());
        return 1;
    }
    markStartupStage("window");

    ExclusiveLock soundTurn;
    scene.soundOn = soundWanted(options) && soundTurn.take(soundLockPath());
    surface->size(scene.windowWidth, scene.windowHeight);
    // The frame-rate line's bitmap font needs GLUT; the options are ours alone.
    if (options.showFps) {
        int glutArgc = 1;
        glutInit(&glutArgc, argv);
    }
    scene.qualityRequest.option = options.quality;
    setupScene();
    setAudioLevel(*scene.audio, options.volume);
    {
        Ambience ambience(*surface, options, stats.is_open() ? &stats : nullptr,
                          startup.is_open() ? &startup : nullptr);
        ambience.run();
    }
    shutdownScene();
    return glDebugMessagesReported() == 0 ? 0 : 1;
}
