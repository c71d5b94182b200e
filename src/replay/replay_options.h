// The replay tool's command line: window size, time step, how long to run, which
// frames to capture, where to write the per-frame timings, and the directory the
// relative paths of its files are taken from.
#pragma once

#include "render/quality_tier.h"

#include <optional>
#include <string>
#include <vector>

struct ReplayOptions {
    int width = 1280;
    int height = 720;
    double dt = 1.0 / 60.0;
    long frames = 1;
    bool untilEnd = false;
    std::vector<double> captureTimes; // simulated seconds, in the order given
    double captureEvery = 0.0;        // > 0: a capture every this many simulated seconds from 0
    std::string outDir;
    std::string statsFile;            // empty: no timings
    std::string startupFile;          // empty: no start-up stages
    bool floor = false;               // clear and swap only, no scene: the cost of an empty frame
    double realtimeSeconds = 0.0;     // > 0: the program's own loop on the wall clock for this long
    bool redrawShadows = false;       // both shadow maps drawn every frame, cached or not
    bool glDebug = false;             // a debug context, its high and medium messages reported and failing the run
    std::string videoFile;            // non-empty: a film of the run, with sound
    int fps = 30;                     // the film's frame rate; the step is 1 / fps
    double holdSeconds = 0.0;         // simulated seconds after the sunset ends before the run does
    float scale = 0.0f;               // > 0: the render scale forced for the whole run; 0: full
                                      // scale on a fixed step, chosen from the frame times on the clock
    std::optional<QualityTier> quality; // --quality: the tier forced for the run; none: chosen as usual
    std::string baseDir;              // non-empty: relative file paths are taken from here
    bool help = false;                // --help: the help on standard output instead of a run
    bool version = false;             // --version: the name and version instead of a run
};

// The options, or why they are refused.
struct ParsedReplayOptions {
    std::optional<ReplayOptions> options; // nullopt: refused
    std::string refusal;                  // one line naming the option and what is wrong with it
};

extern const char* const REPLAY_USAGE;

// The usage, then each option on a line of its own with what it does and its default.
std::string replayHelp();

// The options after the program name, read in order; --help or --version ends the
// reading there. Refused at the first fault: an unknown, repeated or valueless
// option, a value out of its option's range, two options that cannot go together
// or one without the other it needs, a film with an odd width or height (its
// colour planes are half the size), or a run to the end on a step the camera
// stands still on (it would never end). A film without --frames runs the route and
// the sunset and holds the end view for two more seconds. With --base-dir the
// relative paths of --out, --stats, --startup and --video come back joined to it:
// an installed tool runs in its data directory, and its files belong where the
// user started it.
ParsedReplayOptions parseReplayOptions(const std::vector<std::string>& args);
