// Strict parsing of the ambient program's options: a value must be consumed whole,
// and an option may be given once.
#include "ambient/ambient_options.h"

#include "platform/number_text.h"
#include "platform/option_value.h"

#include <charconv>
#include <map>
#include <set>

const char* const AMBIENT_USAGE =
    "Usage: frostember-ambient [--window WxH | --window-id ID | --root] [--max-fps N] [--fps] "
    "[--volume V] [--quality low|high] [--mute] [--sound] [--stats FILE] [--startup FILE] [--gl-debug] [--help] [--version]";

namespace {

const std::set<std::string> FLAGS = {"--root", "--fps", "--mute", "--sound", "--gl-debug"};

// What the value of each option that takes one must be, said when it is refused.
const std::map<std::string, std::string> EXPECTED_VALUES = {
    {"--window", "WxH, a positive width and height"},
    {"--window-id", "an X window id, decimal or 0x hexadecimal"},
    {"--max-fps", "a whole number from " + std::to_string(LOWEST_MAX_FPS) + " to " + std::to_string(HIGHEST_MAX_FPS)},
    {"--volume", "a number from 0 to 1"},
    {"--quality", "low or high"},
    {"--stats", "a file"},
    {"--startup", "a file"},
};

// The daemons' one-dash spellings.
std::string canonical(const std::string& option)
{
    if (option == "-root" || option == "-window-id")
        return "-" + option;
    return option;
}

// An X window id as the daemons write it: decimal, or hexadecimal after 0x.
std::optional<unsigned long> parseWindowId(std::string_view text)
{
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        base = 16;
    }
    unsigned long id = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, id, base);
    if (text.empty() || error != std::errc() || stop != end || id == 0)
        return std::nullopt;
    return id;
}

bool parseValue(const std::string& option, const std::string& value, AmbientOptions& options)
{
    if (option == "--window") {
        const std::optional<SizeText> size = parseSizeText(value);
        options.width = size ? size->width : 0;
        options.height = size ? size->height : 0;
        return size.has_value();
    }
    if (option == "--window-id") {
        const std::optional<unsigned long> id = parseWindowId(value);
        options.windowId = id.value_or(0);
        return id.has_value();
    }
    if (option == "--max-fps") {
        const std::optional<int> fps = parseNumber<int>(value);
        options.maxFps = fps.value_or(0);
        return fps && *fps >= LOWEST_MAX_FPS && *fps <= HIGHEST_MAX_FPS;
    }
    if (option == "--volume") {
        const std::optional<float> volume = parseNumber<float>(value);
        options.volume = volume.value_or(0.0f);
        return volume && *volume >= 0.0f && *volume <= 1.0f;
    }
    if (option == "--quality") {
        options.quality = parseQualityTier(value);
        return options.quality.has_value();
    }
    (option == "--stats" ? options.statsFile : options.startupFile) = value;
    return true;
}


void setFlag(const std::string& option, AmbientOptions& options)
{
    options.showFps |= option == "--fps";
    options.mute |= option == "--mute";
    options.screensaverSound |= option == "--sound";
    options.glDebug |= option == "--gl-debug";
}

// The first match of the precedence wins; the options set only what they name.
void chooseSurface(const std::set<std::string>& seen, std::optional<unsigned long> screensaverId,
                   AmbientOptions& options)
{
    if (seen.contains("--window-id")) {
        options.surface = SurfaceChoice::ForeignWindow;
    } else if (screensaverId || seen.contains("--root")) {
        options.surface = SurfaceChoice::ForeignWindow;
        options.windowId = screensaverId.value_or(0);
    } else if (seen.contains("--window")) {
        options.surface = SurfaceChoice::Window;
    }
}

AmbientParse refuse(std::string refusal)
{
    return {std::nullopt, std::move(refusal)};
}

} // namespace

AmbientParse parseAmbientOptions(const std::vector<std::string>& args, const char* screensaverWindow)
{
    AmbientOptions options;
    std::set<std::string> seen;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string option = canonical(args[i]);
        if (option == "--help" || option == "--version") {
            options.help = option == "--help";
            options.version = !options.help;
            return {options, ""};
        }
        if (!FLAGS.contains(option) && !EXPECTED_VALUES.contains(option))
            return refuse("unknown option " + args[i]);
        if (!seen.insert(option).second)
            return refuse(option + " given twice");
        if (FLAGS.contains(option)) {
            setFlag(option, options);
            continue;
        }
        const std::string refusal = takeOptionValue(args, i, EXPECTED_VALUES.at(option), [&](const std::string& value) {
            return parseValue(option, value, options);
        });
        if (!refusal.empty())
            return refuse(refusal);
    }
    std::optional<unsigned long> screensaverId;
    // An empty value is as good as none: nothing was handed over.
    const bool handedOver = screensaverWindow != nullptr && *screensaverWindow != '\0';
    if (handedOver && !seen.contains("--window-id")) {
        screensaverId = parseWindowId(screensaverWindow);
        if (!screensaverId)
            return refuse(std::string("XSCREENSAVER_WINDOW ") + screensaverWindow + ": expected " +
                          EXPECTED_VALUES.at("--window-id"));
    }
    chooseSurface(seen, screensaverId, options);
    return {options, ""};
}

bool soundWanted(const AmbientOptions& options)
{
    if (options.mute)
        return false;
    return options.surface != SurfaceChoice::ForeignWindow || options.screensaverSound;
}

std::string ambientHelp()
{
    return std::string("Usage: frostember-ambient [OPTION]...\n"
                       "The Frostember winter room as an endless ambient scene: the flight, the sunset, a\n"
                       "fade to black and the flight again, full screen, in a window or as a screensaver.\n"
                       "\n"
                       "Options:\n"
                       "  --window WxH     a window of W x H pixels instead of full screen\n"
                       "  --window-id ID   draw into the existing X window ID (decimal, or hexadecimal\n"
                       "                   after 0x), as a screensaver daemon asks; also -window-id\n"
                       "  --root           draw into the root window; also -root\n"
                       "  --max-fps N      at most N frames a second, N from ") +
           std::to_string(LOWEST_MAX_FPS) + " to " + std::to_string(HIGHEST_MAX_FPS) +
           "\n"
           "  --fps            show the frame-rate line\n"
           "  --volume V       the sound's level, from 0 to 1 (default 1)\n"
           "  --quality Q      the picture's quality tier, low or high (default: high on a\n"
           "                   hardware renderer, low on a software one)\n"
           "  --mute           no sound\n"
           "  --sound          sound while drawing into another program's window too\n"
           "  --stats FILE     write one row of timings a frame to FILE\n"
           "  --startup FILE   write the start-up stages' times to FILE\n"
           "  --gl-debug       ask for a debug context and print each of its messages of\n"
           "                   high or medium severity; any such message ends the run with\n"
           "                   status 1\n"
           "  --help           print this help and exit\n"
           "  --version        print the name and version and exit\n"
           "\n"
           "The window is chosen in this order: --window-id, the window named by\n"
           "XSCREENSAVER_WINDOW in the environment, --root, --window, else full screen.\n"
           "Escape, Q or closing the window quits; F11 switches between full screen and a\n"
           "window. SIGTERM, Ctrl-C or a closed terminal (SIGHUP) ends the program with\n"
           "status 0.\n";
}
