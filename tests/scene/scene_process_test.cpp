// The program and the replay tool as processes: the sound starts before the
// shaders load, and a whole flight with its sunset at a fixed step of 0.1 s.
#include "camera/camera_path.h"
#include "layout/scene_layout.h"
#include "platform/renderer_facts.h"
#include "render/quality_tier.h"
#include "render/texture_path.h"
#include "replay/replay_capture.h"
#include "support/process.h"
#include "support/run_dir.h"

#include <gtest/gtest.h>
#include <stb_image.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

// Without a Shader directory the first shader stage ends the program. The wave
// writer creates its file when the sound device opens, which happens only when
// the sounds start: a file there proves the sound came before any shader. The
// order of the two sounds is checked on the channels in the set-up tests.
TEST(SceneProcess, TheSoundStartsBeforeAnyShaderLoads)
{
    TempDir dir;
    linkFromRunDir(dir.path, {"Assets"});
    const std::string wave = dir.path + "/sound.wav";
    writeFile(dir.path + "/alsoft.conf", "[wave]\nfile = " + wave + "\n");
    ProcessOptions options;
    options.workDir = dir.path;
    options.input = "320\n240\n";
    options.env = {"ALSOFT_DRIVERS=wave", "ALSOFT_CONF=" + dir.path + "/alsoft.conf"};
    const ProcessResult result = runProcess(programPath(), {}, options);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.status, 1) << result.out;
    EXPECT_NE(result.out.find("ERROR: Load file Shader\\Basic.vert,"), std::string::npos) << result.out;
    EXPECT_TRUE(std::filesystem::exists(wave)) << "no sound device was opened before the shaders";
}

namespace {

struct FlightRow {
    float skyLight;
    float flicker;
    double sunAngle;
    bool routeFinished;
    bool skyDimmed;
};

std::vector<std::string> splitFields(const std::string& row)
{
    std::vector<std::string> fields;
    std::istringstream stream(row);
    for (std::string field; std::getline(stream, field, ',');)
        fields.push_back(field);
    return fields;
}

// The scene's columns, found by their names in the header, so that columns
// added to the stats never shift them.
FlightRow parseRow(const std::vector<std::string>& header, const std::string& row)
{
    const std::vector<std::string> fields = splitFields(row);
    const auto field = [&](const char* name) {
        const auto column = std::find(header.begin(), header.end(), name);
        EXPECT_NE(column, header.end()) << name;
        const std::size_t index = static_cast<std::size_t>(column - header.begin());
        return index < fields.size() ? fields[index] : std::string("nan");
    };
    return {std::stof(field("sky_light")), std::stof(field("flicker")), std::stod(field("sun_angle_deg")),
            field("route_finished") == "1", field("sky_dimmed") == "1"};
}

} // namespace

// One run of the whole route at 0.1 s a frame, past the end of the sunset by the
// time the run is told to hold, so that the holding is seen too. A debug run:
// the driver has nothing of high or medium severity to say about any frame.
TEST(SceneProcess, AFlightAtATenthOfASecondEndsInOneSunsetThatThenHolds)
{
    TempDir dir;
    const std::string stats = dir.path + "/stats.csv";
    ProcessOptions options;
    options.workDir = runDir();
    options.timeoutSeconds = 280.0;
    const ProcessResult result = runProcess(
        replayPath(), {"--size", "320x180", "--dt", "0.1", "--until-end", "--hold", "2", "--gl-debug", "--stats", stats},
        options);
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.err.find("GL debug"), std::string::npos) << result.err;
    ASSERT_EQ(result.status, 0) << result.err;

    std::vector<std::string> segments;
    for (const std::string& line : splitLines(result.out))
        if (line.rfind("40 ", 0) == 0)
            segments.push_back(line);
    // One line as each segment but the last ends: the point count, then the end.
    std::vector<std::string> expected;
    for (int end = 3; end < PATH_CAPACITY - 1; end += 3)
        expected.push_back(std::to_string(PATH_CAPACITY) + " " + std::to_string(end));
    EXPECT_EQ(segments, expected);
    EXPECT_EQ(result.out.find("ERROR: OPENGL Error"), std::string::npos) << result.out;

    const std::vector<std::string> rows = splitLines(readFile(stats));
    ASSERT_GT(rows.size(), 1u);
    const std::vector<std::string> header = splitFields(rows[0]);
    int sunsetFrames = 0;
    int framesAfter = 0;
    double lastAngle = 0.0;
    bool wasDimmed = false;
    float lastSkyLight = layout::SKY_LIGHT_START;
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const FlightRow row = parseRow(header, rows[i]);
        EXPECT_GE(row.flicker, 0.0f) << rows[i];
        EXPECT_LE(row.flicker, 5.0f) << rows[i];
        if (!row.routeFinished) {
            EXPECT_EQ(row.skyLight, layout::SKY_LIGHT_START) << rows[i];
            EXPECT_EQ(row.sunAngle, 0.0) << rows[i];
            EXPECT_EQ(sunsetFrames, 0) << "the route never resumes";
        } else if (!wasDimmed) {
            ++sunsetFrames;
            EXPECT_NEAR(row.sunAngle - lastAngle, layout::SUNSET_DEGREES_PER_SECOND * 0.1, 1e-3) << rows[i];
        } else {
            ++framesAfter;
            EXPECT_EQ(row.sunAngle, lastAngle) << "the light holds after the sunset: " << rows[i];
            EXPECT_EQ(row.skyLight, lastSkyLight) << "the sky holds after the sunset: " << rows[i];
            EXPECT_LT(row.skyLight, layout::SKY_DIMMED_BELOW) << rows[i];
        }
        lastAngle = row.sunAngle;
        wasDimmed = row.skyDimmed;
        lastSkyLight = row.skyLight;
    }
    EXPECT_TRUE(wasDimmed);
    EXPECT_NEAR(lastAngle, layout::SUNSET_DEGREES_PER_SECOND * layout::SUNSET_SECONDS, 1.0);
    EXPECT_EQ(framesAfter, 20) << "the run holds for its two seconds past the sunset";
    EXPECT_NEAR(sunsetFrames, layout::SUNSET_SECONDS / 0.1, 1.0);
}

namespace {

struct Capture {
    ProcessResult result;
    std::vector<unsigned char> rgb;
};

// The route's first view (the fireplace, the floor, the windows) from the replay
// tool with the texture path variable set to `value`.
Capture firstView(const std::string& value)
{
    TempDir dir;
    ProcessOptions options;
    options.workDir = runDir();
    options.env = {std::string(TEXTURE_PATH_VARIABLE) + "=" + value};
    Capture capture;
    capture.result = runProcess(
        replayPath(), {"--size", "320x180", "--dt", "0.1", "--frames", "1", "--capture", "0", "--out", dir.path},
        options);
    int width = 0;
    int height = 0;
    int channels = 0;
    unsigned char* pixels =
        stbi_load((dir.path + "/" + captureFileName(0.0)).c_str(), &width, &height, &channels, 3);
    if (pixels != nullptr && width == 320 && height == 180)
        capture.rgb.assign(pixels, pixels + 3 * width * height);
    stbi_image_free(pixels);
    return capture;
}

} // namespace

// The sampler's path compiles, links and draws nearly the picture of the
// shader's own filter. Not the same picture: the sampler
// filters anisotropically, sharper than the isotropic level on surfaces seen at a
// slant, such as the floor. Measured 0.4 of 255 on average, a peak signal to
// noise ratio of 48 dB; allowed: 2 of 255 and 35 dB. A missing texture or a wrong
// level on one of the paths differs by far more.
TEST(SceneProcess, TheSamplersPathDrawsNearlyThePictureOfTheShadersFilter)
{
    const Capture filtered = firstView("shader");
    const Capture sampled = firstView("sampler");
    for (const Capture* capture : {&filtered, &sampled}) {
        ASSERT_EQ(capture->result.status, 0) << capture->result.out << capture->result.err;
        EXPECT_EQ(capture->result.err.find(TEXTURE_PATH_VARIABLE), std::string::npos) << capture->result.err;
        ASSERT_FALSE(capture->rgb.empty()) << "no capture of the right size";
    }
    double absoluteSum = 0.0;
    double squaredSum = 0.0;
    for (std::size_t i = 0; i < filtered.rgb.size(); ++i) {
        const double difference = static_cast<double>(filtered.rgb[i]) - sampled.rgb[i];
        absoluteSum += std::abs(difference);
        squaredSum += difference * difference;
    }
    const double meanAbsolute = absoluteSum / filtered.rgb.size();
    const double psnr = 10.0 * std::log10(255.0 * 255.0 * filtered.rgb.size() / squaredSum);
    EXPECT_GT(meanAbsolute, 0.0) << "the variable chose no other path";
    EXPECT_LT(meanAbsolute, 2.0);
    EXPECT_GT(psnr, 35.0);
}

// An unknown value is one line on standard error; the run goes on with the
// path detected for the renderer the tool names.
TEST(SceneProcess, AnUnknownTexturePathIsReportedAndIgnored)
{
    ProcessOptions options;
    options.workDir = runDir();
    options.env = {std::string(TEXTURE_PATH_VARIABLE) + "=anisotropic"};
    const ProcessResult result = runProcess(replayPath(), {"--size", "160x90", "--frames", "1"}, options);
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out.find(TEXTURE_PATH_VARIABLE), std::string::npos) << "standard error only";
    std::vector<std::string> complaints;
    for (const std::string& line : splitLines(result.err))
        if (line.find(TEXTURE_PATH_VARIABLE) != std::string::npos)
            complaints.push_back(line);
    ASSERT_EQ(complaints.size(), 1u) << result.err;
    EXPECT_EQ(complaints[0].rfind("frostember-replay: ", 0), 0u) << "in the tool's name";
    EXPECT_NE(complaints[0].find(std::string(TEXTURE_PATH_VARIABLE) + "=anisotropic"), std::string::npos);
    const std::string rendererLine = "frostember-replay: renderer ";
    const std::size_t named = result.err.find(rendererLine);
    ASSERT_NE(named, std::string::npos) << result.err;
    const std::string renderer = splitLines(result.err.substr(named + rendererLine.size()))[0];
    const bool software = isSoftwareRenderer(std::nullopt, renderer);
    EXPECT_NE(complaints[0].find(software ? "using the shader path" : "using the sampler path"), std::string::npos)
        << renderer;
}

// The tool names the tier it draws at: its option over the variable, and a
// capture at its best unless told otherwise.
TEST(SceneProcess, TheReplayToolReportsTheTierItChose)
{
    TempDir shots;
    struct Case {
        std::vector<std::string> args;
        std::string variable;
        const char* reported;
    };
    const Case cases[] = {
        {{"--quality", "high"}, "low", "quality high"},
        {{"--quality", "low", "--capture", "0", "--out", shots.path}, "", "quality low"},
        {{"--capture", "0", "--out", shots.path}, "", "quality high"},
        {{}, "low", "quality low"},
    };
    for (const Case& c : cases) {
        ProcessOptions options;
        options.workDir = runDir();
        if (!c.variable.empty())
            options.env = {std::string(QUALITY_VARIABLE) + "=" + c.variable};
        std::vector<std::string> args = {"--size", "160x90", "--frames", "1"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const ProcessResult result = runProcess(replayPath(), args, options);
        ASSERT_EQ(result.status, 0) << result.err;
        EXPECT_NE(result.err.find(std::string("frostember-replay: ") + c.reported + "\n"), std::string::npos)
            << ::testing::PrintToString(c.args) << result.err;
    }
}
