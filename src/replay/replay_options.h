// The replay tool's command line: window size, time step, how long to run, which
// frames to capture, where to write the per-frame timings, and the directory the
// relative paths of its files are taken from.
#pragma once

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
    std::string videoFile;            // non-empty: a film of the run, with sound
    int fps = 30;                     // the film's frame rate; the step is 1 / fps
    double holdSeconds = 0.0;         // simulated seconds after the sunset ends before the run does
    float scale = 0.0f;               // > 0: the render scale forced for the whole run; 0: full
                                      // scale on a fixed step, chosen from the frame times on the clock
    std::string baseDir;              // non-empty: relative file paths are taken from here
};

extern const char* const REPLAY_USAGE;

// The options after the program name; nullopt for anything malformed: an unknown,
// repeated or valueless option, a value that is not a positive size, time step or
// frame count, a capture time that is negative or not a number, two captures that
// would share a file, --frames with --until-end, --until-end (or a film to the end)
// with a step over 0.1 s, on which the camera stands still, --hold without --until-end,
// --capture-every shorter than 0.1 s (its files are named to a tenth of a second) or
// with --capture, a capture without --out or the reverse, --floor with --until-end,
// a capture or --scale (an empty frame has no route and nothing to show), --realtime
// with --dt, --frames, --until-end, a capture, --stats or --floor (the clock sets the
// steps and the time spent, and a run on it is judged by its pace alone), a --scale
// outside (0, 1], --fps without --video, --video with
// --dt, --until-end, --realtime or --floor (the film sets its own step and end), or
// with an odd width or height (the film's colour planes are half the size). A film
// without --frames runs the route and the sunset and holds the end view for two
// more seconds. With --base-dir the relative paths of --out, --stats, --startup and
// --video come back joined to it: an installed tool runs in its data directory, and
// its files belong where the user started it.
std::optional<ReplayOptions> parseReplayOptions(const std::vector<std::string>& args);
