// Strict parsing of the replay tool's options: a value must be consumed whole.
#include "replay/replay_options.h"

#include "camera/camera.h"
#include "replay/replay_capture.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <set>

const char* const REPLAY_USAGE =
    "usage: frostember-replay [--size WxH] [--dt SECONDS] [--frames N | --until-end [--hold SECONDS]] "
    "[(--capture T1,T2,... | --capture-every SECONDS) --out DIR] [--stats FILE] [--startup FILE] [--floor] "
    "[--realtime SECONDS] [--redraw-shadows] [--video FILE [--fps N]] [--scale S] [--base-dir DIR]";

namespace {

constexpr int MAX_FPS = 60;
constexpr double FILM_HOLD_SECONDS = 2.0;
// Capture files are named to a tenth of a second.
constexpr double SHORTEST_CAPTURE_STEP = 0.1;

template <typename Number>
std::optional<Number> parseNumber(std::string_view text)
{
    Number value{};
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

std::optional<int> parsePositiveInt(std::string_view text)
{
    const std::optional<int> value = parseNumber<int>(text);
    if (!value || *value <= 0)
        return std::nullopt;
    return value;
}

bool parseSize(std::string_view text, ReplayOptions& options)
{
    const size_t cross = text.find('x');
    if (cross == std::string_view::npos)
        return false;
    const std::optional<int> width = parsePositiveInt(text.substr(0, cross));
    const std::optional<int> height = parsePositiveInt(text.substr(cross + 1));
    if (!width || !height)
        return false;
    options.width = *width;
    options.height = *height;
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
    // A path that looks like an option is the sign of a missing value.
    if (value.empty() || value.starts_with("--"))
        return false;
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

} // namespace

std::optional<ReplayOptions> parseReplayOptions(const std::vector<std::string>& args)
{
    ReplayOptions options;
    std::set<std::string> seen;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (!seen.insert(option).second)
            return std::nullopt;
        if (option == "--until-end") {
            options.untilEnd = true;
            continue;
        }
        if (option == "--floor") {
            options.floor = true;
            continue;
        }
        if (option == "--redraw-shadows") {
            options.redrawShadows = true;
            continue;
        }
        if (i + 1 == args.size() || !parseValue(option, args[i + 1], options))
            return std::nullopt;
        ++i;
    }
    if (seen.contains("--frames") && options.untilEnd)
        return std::nullopt;
    if (seen.contains("--hold") && !options.untilEnd)
        return std::nullopt;
    const bool capturing = seen.contains("--capture") || seen.contains("--capture-every");
    if (capturing != seen.contains("--out") || (seen.contains("--capture") && seen.contains("--capture-every")))
        return std::nullopt;
    if (options.floor && (options.untilEnd || capturing || seen.contains("--scale")))
        return std::nullopt;
    if (seen.contains("--fps") && !seen.contains("--video"))
        return std::nullopt;
    if (seen.contains("--video")) {
        for (const char* clocked : {"--dt", "--until-end", "--realtime", "--floor"})
            if (seen.contains(clocked))
                return std::nullopt;
        if (options.width % 2 != 0 || options.height % 2 != 0)
            return std::nullopt;
        options.dt = 1.0 / options.fps;
        if (!seen.contains("--frames")) {
            options.untilEnd = true;
            options.holdSeconds = FILM_HOLD_SECONDS;
        }
    }
    // The camera stands still on a longer step: the route would never end.
    if (options.untilEnd && !frameMovesCamera(static_cast<float>(options.dt)))
        return std::nullopt;
    if (seen.contains("--realtime")) {
        for (const char* clocked : {"--dt", "--frames", "--until-end", "--capture", "--capture-every", "--stats",
                                    "--floor"})
            if (seen.contains(clocked))
                return std::nullopt;
    }
    if (!options.baseDir.empty()) {
        for (std::string* path : {&options.outDir, &options.statsFile, &options.startupFile, &options.videoFile})
            rebase(*path, options.baseDir);
    }
    return options;
}
