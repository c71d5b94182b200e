// Strict parsing of the replay tool's options: a value must be consumed whole.
#include "replay/replay_options.h"

#include "camera/camera.h"
#include "platform/number_text.h"
#include "platform/option_value.h"
#include "replay/replay_capture.h"

#include <cmath>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

const char* const REPLAY_USAGE =
    "Usage: frostember-replay [--size WxH] [--dt SECONDS] [--frames N | --until-end [--hold SECONDS]] "
    "[(--capture T1,T2,... | --capture-every SECONDS) --out DIR] [--stats FILE] [--startup FILE] [--floor] "
    "[--realtime SECONDS] [--redraw-shadows] [--video FILE [--fps N]] [--scale S] [--quality low|high] [--gl-debug] [--base-dir DIR]";

namespace {

constexpr int MAX_FPS = 60;
constexpr double FILM_HOLD_SECONDS = 2.0;
// Capture files are named to a tenth of a second.
constexpr double SHORTEST_CAPTURE_STEP = 0.1;

// What the value of each option that takes one must be, said when it is refused.
const std::map<std::string_view, std::string> EXPECTED_VALUES = {
    {"--size", "WxH, a positive width and height"},
    {"--dt", "a positive number of seconds"},
    {"--frames", "a positive whole number"},
    {"--capture", "times of 0 s or more, separated by commas, no two with one image"},
    {"--capture-every", "a number of seconds, 0.1 or more"},
    {"--hold", "a positive number of seconds"},
    {"--out", "a directory"},
    {"--stats", "a file"},
    {"--startup", "a file"},
    {"--realtime", "a positive number of seconds"},
    {"--video", "a file"},
    {"--fps", "a whole number from 1 to " + std::to_string(MAX_FPS)},
    {"--scale", "a number above 0 and at most 1"},
    {"--quality", "low or high"},
    {"--base-dir", "a directory"},
};

struct OptionPair {
    const char* option;
    const char* other;
};

// Options that cannot go together, the first of each pair named in the refusal.
constexpr OptionPair EXCLUSIVE[] = {
    {"--frames", "--until-end"},
    // An empty frame has no route and nothing to show.
    {"--floor", "--until-end"},
    {"--floor", "--capture"},
    {"--floor", "--capture-every"},
    {"--capture", "--capture-every"},
    {"--floor", "--scale"},
    // A film sets its own step and end.
    {"--video", "--dt"},
    {"--video", "--until-end"},
    {"--video", "--realtime"},
    {"--video", "--floor"},
    // The clock sets the steps and the time spent, and a run on it is judged by its pace.
    {"--realtime", "--dt"},
    {"--realtime", "--frames"},
    {"--realtime", "--until-end"},
    {"--realtime", "--capture"},
    {"--realtime", "--capture-every"},
    {"--realtime", "--floor"},
};

// Options that mean nothing without another.
constexpr OptionPair REQUIRED[] = {
    {"--capture", "--out"}, {"--capture-every", "--out"}, {"--fps", "--video"}, {"--hold", "--until-end"}};

bool parseSize(std::string_view text, ReplayOptions& options)
{
    const std::optional<SizeText> size = parseSizeText(text);
    if (!size)
        return false;
    options.width = size->width;
    options.height = size->height;
    return true;
}

// A positive, finite number of seconds into `seconds`.
bool parseSeconds(std::string_view text, double& seconds)
{
    const std::optional<double> value = parseNumber<double>(text);
    if (!value || !std::isfinite(*value) || *value <= 0.0)
        return false;
    seconds = *value;
    return true;
}

bool parseFps(std::string_view text, ReplayOptions& options)
{
    const std::optional<int> fps = parsePositiveInt(text);
    if (!fps || *fps > MAX_FPS)
        return false;
    options.fps = *fps;
    return true;
}

bool parseFrames(std::string_view text, ReplayOptions& options)
{
    const std::optional<long> frames = parseNumber<long>(text);
    if (!frames || *frames <= 0)
        return false;
    options.frames = *frames;
    return true;
}

// A share of the window's size: the scene is never drawn larger than the window.
bool parseScale(std::string_view text, ReplayOptions& options)
{
    const std::optional<float> scale = parseNumber<float>(text);
    if (!scale || !std::isfinite(*scale) || *scale <= 0.0f || *scale > 1.0f)
        return false;
    options.scale = *scale;
    return true;
}

bool parseQuality(std::string_view text, ReplayOptions& options)
{
    options.quality = parseQualityTier(text);
    return options.quality.has_value();
}

bool parseCaptureTimes(std::string_view text, ReplayOptions& options)
{
    std::set<std::string> names;
    for (;;) {
        const size_t comma = text.find(',');
        const std::optional<double> time = parseNumber<double>(text.substr(0, comma));
        if (!time || !std::isfinite(*time) || *time < 0.0)
            return false;
        if (!names.insert(captureFileName(*time)).second)
            return false;
        options.captureTimes.push_back(*time);
        if (comma == std::string_view::npos)
            return true;
        text.remove_prefix(comma + 1);
    }
}

bool parseCaptureStep(std::string_view text, ReplayOptions& options)
{
    return parseSeconds(text, options.captureEvery) && options.captureEvery >= SHORTEST_CAPTURE_STEP;
}

bool parseValue(const std::string& option, std::string_view value, ReplayOptions& options)
{
    if (option == "--size")
        return parseSize(value, options);
    if (option == "--dt")
        return parseSeconds(value, options.dt);
    if (option == "--frames")
        return parseFrames(value, options);
    if (option == "--capture")
        return parseCaptureTimes(value, options);
    if (option == "--capture-every")
        return parseCaptureStep(value, options);
    if (option == "--hold")
        return parseSeconds(value, options.holdSeconds);
    if (option == "--realtime")
        return parseSeconds(value, options.realtimeSeconds);
    if (option == "--fps")
        return parseFps(value, options);
    if (option == "--scale")
        return parseScale(value, options);
    if (option == "--quality")
        return parseQuality(value, options);
    if (option == "--out")
        options.outDir = value;
    else if (option == "--stats")
        options.statsFile = value;
    else if (option == "--startup")
        options.startupFile = value;
    else if (option == "--video")
        options.videoFile = value;
    else if (option == "--base-dir")
        options.baseDir = value;
    else
        return false;
    return true;
}

// An absolute path, or an empty one meaning "not asked for", stays as it is.
void rebase(std::string& path, const std::string& baseDir)
{
    if (!path.empty())
        path = (std::filesystem::path(baseDir) / path).string();
}

ParsedReplayOptions refuse(std::string reason)
{
    return {std::nullopt, std::move(reason)};
}

// The member an option without a value sets; null for any other option.
bool* flagOf(const std::string& option, ReplayOptions& options)
{
    if (option == "--until-end")
        return &options.untilEnd;
    if (option == "--floor")
        return &options.floor;
    if (option == "--redraw-shadows")
        return &options.redrawShadows;
    if (option == "--gl-debug")
        return &options.glDebug;
    return nullptr;
}

// A value that is empty or looks like an option is the sign of a missing one.
// The first pair of options given together that cannot be, or of one given without
// the other it needs; empty when there is none.
std::string combinationRefusal(const std::set<std::string>& seen)
{
    for (const OptionPair& pair : EXCLUSIVE)
        if (seen.contains(pair.option) && seen.contains(pair.other))
            return std::string(pair.option) + " cannot be used with " + pair.other;
    for (const OptionPair& pair : REQUIRED)
        if (seen.contains(pair.option) && !seen.contains(pair.other))
            return std::string(pair.option) + " needs " + pair.other;
    if (seen.contains("--out") && !seen.contains("--capture") && !seen.contains("--capture-every"))
        return "--out needs --capture or --capture-every";
    return {};
}

} // namespace

std::string replayHelp()
{
    const ReplayOptions defaults;
    std::ostringstream help;
    help << REPLAY_USAGE << "\n\n"
         << "Runs Frostember's winter room without the size prompts: on a fixed time step for\n"
            "images, per-frame timings and films, or on the wall clock to measure its pace.\n"
            "\n"
            "Options:\n"
         << "  --size WxH            the window's size (default " << defaults.width << "x" << defaults.height
         << ")\n"
         << "  --dt SECONDS          the fixed time step (default 1/" << std::lround(1.0 / defaults.dt) << " s)\n"
         << "  --frames N            how many frames to run (default " << defaults.frames << ")\n"
         << "  --until-end           run until the route and the sunset are over\n"
            "  --hold SECONDS        with --until-end, run this much longer after the sunset\n"
            "  --capture T1,T2,...   save the frames at these route times, in seconds, as PNG\n"
            "                        images named after the time, such as t0065.0.png\n"
            "  --capture-every S     save a frame every S seconds of route time, from 0 to the\n"
            "                        end of the run, named the same way\n"
            "  --out DIR             the directory the captures are written to\n"
            "  --stats FILE          write each frame's timings as CSV: its steps' CPU and GPU\n"
            "                        times, or on the clock its route time, length and scale\n"
            "  --startup FILE        write the times of the start-up stages as CSV\n"
            "  --floor               clear and swap only, without the scene: the cost of an\n"
            "                        empty frame\n"
            "  --realtime SECONDS    run the program's own loop on the wall clock this long and\n"
            "                        print the flight pace and the render scale\n"
            "  --redraw-shadows      draw both shadow maps every frame\n"
            "  --video FILE          film the run with its sound through ffmpeg, .webm in VP9 and\n"
            "                        Opus, any other name in H.264 and AAC; without --frames\n"
            "                        the route, the sunset and "
         << FILM_HOLD_SECONDS << " s of the held view\n"
         << "  --fps N               the film's frames per second, 1 to " << MAX_FPS << " (default " << defaults.fps
         << ")\n"
         << "  --scale S             draw the scene at the share S (0 < S <= 1) of the window's\n"
            "                        size and scale it up\n"
            "  --quality low|high    the picture's quality tier (default: high for captures and\n"
            "                        films, else high on a hardware renderer, low on a software one)\n"
            "  --gl-debug            ask for a debug context and print each of its messages of\n"
            "                        high or medium severity; any such message fails the run\n"
            "  --base-dir DIR        take relative paths of --out, --stats, --startup and --video\n"
            "                        from DIR\n"
            "  --help                print this help and exit\n"
            "  --version             print the name and version and exit\n";
    return help.str();
}

ParsedReplayOptions parseReplayOptions(const std::vector<std::string>& args)
{
    ReplayOptions options;
    std::set<std::string> seen;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--help" || option == "--version") {
            options.help = option == "--help";
            options.version = !options.help;
            return {options, {}};
        }
        bool* const flag = flagOf(option, options);
        if (flag == nullptr && !EXPECTED_VALUES.contains(option))
            return refuse("unknown option " + option);
        if (!seen.insert(option).second)
            return refuse(option + " given twice");
        if (flag != nullptr) {
            *flag = true;
            continue;
        }
        const std::string refusal = takeOptionValue(args, i, EXPECTED_VALUES.at(option), [&](const std::string& value) {
            return parseValue(option, value, options);
        });
        if (!refusal.empty())
            return refuse(refusal);
    }
    const std::string combination = combinationRefusal(seen);
    if (!combination.empty())
        return refuse(combination);
    if (seen.contains("--video")) {
        if (options.width % 2 != 0 || options.height % 2 != 0)
            return refuse("--video needs an even width and height, not " + std::to_string(options.width) + "x"
                          + std::to_string(options.height));
        options.dt = 1.0 / options.fps;
        if (!seen.contains("--frames")) {
            options.untilEnd = true;
            options.holdSeconds = FILM_HOLD_SECONDS;
        }
    }
    // The camera stands still on too long a step, so the route would never end.
    if (options.untilEnd && !frameMovesCamera(static_cast<float>(options.dt)))
        return refuse(seen.contains("--video") ? "--fps " + std::to_string(options.fps) + " is too few to film to the end"
                                               : "--until-end cannot end on so long a step: the camera stands still");
    if (!options.baseDir.empty()) {
        for (std::string* path : {&options.outDir, &options.statsFile, &options.startupFile, &options.videoFile})
            rebase(*path, options.baseDir);
    }
    return {options, {}};
}
