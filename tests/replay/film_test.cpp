// Films through the replay tool, checked with ffmpeg's own tools: a short film's
// streams as asked, one of its frames against the replay's capture of the same
// moment, the three ways a film is refused before anything is written, and a
// film stopped midway: by a signal, by the loss of its display, or in the
// tool's start-up.
#include "support/process.h"
#include "support/run_dir.h"

#include <gtest/gtest.h>
#include <stb_image.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <thread>

namespace {

constexpr int WIDTH = 320;
constexpr int HEIGHT = 180;
constexpr int FRAMES = 45; // 1.5 s at 30 frames a second

ProcessResult runTool(const std::string& tool, const std::vector<std::string>& args)
{
    ProcessOptions options;
    options.timeoutSeconds = 60.0;
    return runProcess("/usr/bin/" + tool, args, options);
}

// One stream's (or the container's) fields as ffprobe names them.
std::map<std::string, std::string> probe(const std::string& film, const std::vector<std::string>& query)
{
    std::vector<std::string> args = {"-v", "error", "-count_frames"};
    args.insert(args.end(), query.begin(), query.end());
    args.insert(args.end(), {"-of", "default=noprint_wrappers=1", film});
    std::map<std::string, std::string> fields;
    for (const std::string& line : splitLines(runTool("ffprobe", args).out)) {
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos)
            fields[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return fields;
}

// Waits until `child` has written `text` to standard output or error; false
// when it ended or took longer than `seconds`.
bool waitForText(ChildProcess& child, const std::string& text, double seconds)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while ((child.outputSoFar() + child.errorSoFar()).find(text) == std::string::npos) {
        if (!child.running() || std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

// An X server of the test's own, on a display number it chose itself.
class OwnXServer {
public:
    OwnXServer() : server("/usr/bin/Xvfb", {"-displayfd", "1", "-screen", "0", "640x480x24", "-nolisten", "tcp"}, {})
    {
        if (waitForText(server, "\n", 30.0))
            display = ":" + splitLines(server.outputSoFar()).front();
    }
    void quit() { server.sendSignal(SIGTERM, false); }

    ChildProcess server;
    std::string display; // empty when the server did not start
};

std::vector<std::string> namesIn(const std::string& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    return names;
}

double number(const std::map<std::string, std::string>& fields, const std::string& key)
{
    const auto found = fields.find(key);
    return found == fields.end() ? std::nan("") : std::atof(found->second.c_str());
}

class Film : public testing::Test {
protected:
    // One short film for the whole suite, with a capture of its thirtieth frame.
    static void SetUpTestSuite()
    {
        dir = new TempDir();
        film = dir->path + "/short.mp4";
        result = new ProcessResult(runReplay({"--video", film, "--frames", std::to_string(FRAMES), "--size",
                                              std::to_string(WIDTH) + "x" + std::to_string(HEIGHT), "--capture",
                                              "1.0", "--out", dir->path}));
    }
    static void TearDownTestSuite()
    {
        delete result;
        delete dir;
    }

    static TempDir* dir;
    static std::string film;
    static ProcessResult* result;
};

TempDir* Film::dir = nullptr;
std::string Film::film;
ProcessResult* Film::result = nullptr;

} // namespace

TEST_F(Film, AShortFilmHasThePictureAndTheSoundAsked)
{
    ASSERT_FALSE(result->timedOut);
    ASSERT_EQ(result->status, 0) << result->err;
    EXPECT_NE(result->err.find("film: frame 45 of 45, 0:00 left"), std::string::npos) << result->err;

    const auto container = probe(film, {"-show_entries", "format=format_name,duration"});
    EXPECT_NE(container.at("format_name").find("mp4"), std::string::npos);
    EXPECT_NEAR(number(container, "duration"), 1.5, 0.1);

    const auto video = probe(film, {"-select_streams", "v:0", "-show_entries",
                                    "stream=codec_name,width,height,r_frame_rate,nb_read_frames,duration"});
    EXPECT_EQ(video.at("codec_name"), "h264");
    EXPECT_EQ(number(video, "width"), WIDTH);
    EXPECT_EQ(number(video, "height"), HEIGHT);
    EXPECT_EQ(video.at("r_frame_rate"), "30/1");
    EXPECT_EQ(number(video, "nb_read_frames"), FRAMES);
    EXPECT_NEAR(number(video, "duration"), 1.5, 1e-3);

    const auto audio = probe(film, {"-select_streams", "a:0", "-show_entries", "stream=codec_name,channels,duration"});
    EXPECT_EQ(audio.at("codec_name"), "aac");
    EXPECT_EQ(number(audio, "channels"), 2);
    EXPECT_NEAR(number(audio, "duration"), 1.5, 0.05);

    // The music and the fire both play from the first frame: no stretch is silent.
    const std::string samples =
        runTool("ffmpeg", {"-nostdin", "-v", "error", "-i", film, "-map", "0:a", "-ac", "1", "-f", "s16le", "-"}).out;
    const std::size_t count = samples.size() / 2;
    ASSERT_GT(count, 44100u);
    for (std::size_t begin = 0; begin + 4410 <= count; begin += 4410) {
        double sum = 0.0;
        for (std::size_t i = begin; i < begin + 4410; ++i) {
            std::int16_t sample = 0;
            std::memcpy(&sample, samples.data() + 2 * i, 2);
            sum += static_cast<double>(sample) * sample;
        }
        EXPECT_GT(std::sqrt(sum / 4410.0), 100.0) << "silence at sample " << begin;
    }
    EXPECT_TRUE(std::filesystem::is_regular_file(film));
    for (const auto& entry : std::filesystem::directory_iterator(dir->path))
        EXPECT_EQ(entry.path().filename().string()[0] == '.', false) << "left behind: " << entry.path();
}

// The capture at 1.0 s is the replay's thirtieth frame, the film's frame 29.
TEST_F(Film, AFrameOfTheFilmMatchesTheCaptureOfTheSameMoment)
{
    ASSERT_EQ(result->status, 0) << result->err;
    int width = 0;
    int height = 0;
    int channels = 0;
    unsigned char* capture = stbi_load((dir->path + "/t0001.0.png").c_str(), &width, &height, &channels, 3);
    ASSERT_NE(capture, nullptr);
    const std::string decoded = runTool("ffmpeg", {"-nostdin", "-v", "error", "-i", film, "-vf", "select=eq(n\\,29)",
                                                   "-frames:v", "1", "-f", "rawvideo", "-pix_fmt", "rgb24", "-"})
                                    .out;
    ASSERT_EQ(decoded.size(), static_cast<std::size_t>(WIDTH * HEIGHT * 3));
    double difference = 0.0;
    for (std::size_t i = 0; i < decoded.size(); ++i)
        difference += std::abs(static_cast<int>(static_cast<unsigned char>(decoded[i])) - capture[i]);
    stbi_image_free(capture);
    // The codec's loss, chroma at half resolution included: a few levels on average.
    EXPECT_LT(difference / static_cast<double>(decoded.size()), 6.0);
}

TEST(FilmRefusal, EachRefusalIsOneLineAndNothingIsWritten)
{
    struct Case {
        const char* name;
        const char* path;     // relative to a scratch folder
        const char* pathEnv;  // PATH for the run; empty keeps the test's own
        const char* message;
    };
    const Case cases[] = {
        {"no encoder", "film.mp4", "/nonexistent", "frostember-replay: no video encoder"},
        {"unwritable path", "missing-folder/film.mp4", "", "frostember-replay: cannot write"},
        {"unknown extension", "film.avi", "", "frostember-replay: unknown film format '.avi'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        ProcessOptions options;
        options.workDir = runDir();
        if (*c.pathEnv != '\0')
            options.env = {std::string("PATH=") + c.pathEnv};
        const ProcessResult result = runProcess(replayPath(), {"--video", dir.path + "/" + c.path, "--frames", "2"},
                                                options);
        EXPECT_FALSE(result.timedOut);
        EXPECT_NE(result.status, 0);
        const std::vector<std::string> lines = splitLines(result.err);
        ASSERT_EQ(lines.size(), 1u) << result.err;
        EXPECT_EQ(lines[0].rfind(c.message, 0), 0u) << lines[0];
        EXPECT_TRUE(std::filesystem::is_empty(dir.path)) << "a film or its pieces were left behind";
    }
}

// Ctrl-C at a terminal reaches the tool's whole process group, encoder included;
// kill sends SIGTERM to the tool alone, and a closed terminal SIGHUP; under xvfb-run the same Ctrl-C ends the X
// server first, and the tool loses its display; and Ctrl-C may come while the
// tool still starts, in the console's pause after a window it cannot have. Every
// way the folder ends as it was, an earlier film of the same name untouched.
TEST(FilmStop, AStopMidwayLeavesTheFolderAsItWas)
{
    struct Case {
        const char* name;
        const char* size;
        const char* stopAt;  // on either output
        bool ownDisplay;     // an X server of its own, which quits at the stop
        int signal;          // 0: none
        bool toGroup;
        int status;          // -1: ended by the signal itself
    };
    const Case cases[] = {
        {"Ctrl-C", "320x180", "film: frame 10 ", false, SIGINT, true, 130},
        {"kill", "320x180", "film: frame 10 ", false, SIGTERM, false, 143},
        {"terminal closed", "320x180", "film: frame 10 ", false, SIGHUP, false, 129},
        {"display lost", "320x180", "film: frame 10 ", true, 0, false, 1},
        {"Ctrl-C at the start-up's pause", "32768x32768", "Press Enter", false, SIGINT, true, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string film = dir.path + "/film.mp4";
        const std::string earlier = "an earlier film";
        writeFile(film, earlier);
        std::optional<OwnXServer> xServer;
        ProcessOptions options;
        options.workDir = runDir();
        options.ownProcessGroup = true;
        options.silentConsole = true;
        if (c.ownDisplay) {
            xServer.emplace();
            ASSERT_FALSE(xServer->display.empty()) << xServer->server.errorSoFar();
            options.env = {"DISPLAY=" + xServer->display};
        }
        ChildProcess replay(replayPath(), {"--video", film, "--frames", "100000", "--size", c.size}, options);
        ASSERT_TRUE(waitForText(replay, c.stopAt, 60.0)) << replay.outputSoFar() << replay.errorSoFar();

        if (xServer)
            xServer->quit();
        if (c.signal != 0)
            replay.sendSignal(c.signal, c.toGroup);
        const ProcessResult result = replay.wait(60.0);
        EXPECT_FALSE(result.timedOut);
        EXPECT_EQ(result.status, c.status) << result.err;
        if (c.status != -1) {
            const std::vector<std::string> lines = splitLines(result.err);
            ASSERT_FALSE(lines.empty());
            EXPECT_EQ(lines.back().rfind("frostember-replay: ", 0), 0u) << result.err;
            EXPECT_NE(lines.back().find("not made"), std::string::npos) << result.err;
        }
        EXPECT_EQ(namesIn(dir.path), std::vector<std::string>{"film.mp4"});
        EXPECT_EQ(readFile(film), earlier);
    }
}
