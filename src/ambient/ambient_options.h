// The ambient program's command line: where it draws, how fast, with what sound,
// and the files a benchmark asks for.
#pragma once

#include "camera/camera.h"
#include "render/quality_tier.h"

#include <optional>
#include <string>
#include <vector>

enum class SurfaceChoice {
    FullScreen,    // the default: borderless, the monitor's own resolution
    Window,        // --window WxH
    ForeignWindow, // a window another program made: a screensaver daemon's, or the root
};

struct AmbientOptions {
    SurfaceChoice surface = SurfaceChoice::FullScreen;
    int width = 0;              // Window: its size
    int height = 0;
    unsigned long windowId = 0; // ForeignWindow: the X window, 0 for the root window
    int maxFps = 0;             // 0: no cap of its own, the swap interval paces it
    bool showFps = false;
    float volume = 1.0f;
    bool mute = false;
    bool screensaverSound = false; // --sound
    bool glDebug = false;          // --gl-debug: a debug context, its high and medium messages reported
    std::optional<QualityTier> quality; // --quality: the tier forced; none: chosen by the renderer
    std::string statsFile;         // empty: no per-frame rows
    std::string startupFile;       // empty: no start-up stages
    bool help = false;             // --help: the help on standard output instead of a run
    bool version = false;          // --version: the name and version instead of a run
};

struct AmbientParse {
    std::optional<AmbientOptions> options; // nullopt: `refusal` says why
    std::string refusal;                   // one line naming the option or value, without the program's name
};

// The lowest frame cap whose frames still move the camera, which stands still
// on a frame too long.
constexpr int lowestMaxFps()
{
    int fps = 1;
    while (!frameMovesCamera(1.0f / static_cast<float>(fps)))
        ++fps;
    return fps;
}
constexpr int LOWEST_MAX_FPS = lowestMaxFps();
constexpr int HIGHEST_MAX_FPS = 1000;

extern const char* const AMBIENT_USAGE;

// The text of --help: what the program is and every option.
std::string ambientHelp();

// The arguments after the program name, read in order, and the value of
// XSCREENSAVER_WINDOW (null when unset); --help or --version ends the reading
// where it stands. The window is chosen, first match wins: --window-id, the
// environment's window, --root, --window, else full screen. The daemons'
// one-dash -root and -window-id are the same options.
AmbientParse parseAmbientOptions(const std::vector<std::string>& args, const char* screensaverWindow);

// Sound plays full screen and in a window unless muted; drawing into another
// program's window (a screensaver) only with --sound. --mute wins over all.
bool soundWanted(const AmbientOptions& options);
