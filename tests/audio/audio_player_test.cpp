// The scene's background audio, played in a child process into OpenAL Soft's
// wave-writer back end (no sound card needed) and measured in the written file:
// a 440 Hz tone stands for the music, a 1000 Hz tone for the fire.
#include "platform/median.h"
#include "support/process.h"
#include "tone_mp3.h"
#include "wave_capture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr double MUSIC_TONE = 440.0;
constexpr double FIRE_TONE = 1000.0;
constexpr double TONE_AMPLITUDE = 0.3;
constexpr int MUSIC_FRAMES = 26460;   // 0.6 s, a whole number of cycles
constexpr int FIRE_FRAMES = 11025;    // 0.25 s, likewise
// 25 ms windows hold whole cycles of both tones, so neither leaks into the other.
constexpr std::size_t WINDOW = 1103;

using Report = std::map<std::string, std::string>;

class AudioCapture : public testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(dir.path + "/Assets/sound"); }

    void writeMusic()
    {
        writeToneMp3(dir.path + "/Assets/sound/Talvek - Nocturne op.9 No.2.mp3", MUSIC_TONE, MUSIC_FRAMES,
                     TONE_AMPLITUDE);
    }
    void writeFire() { writeToneMp3(dir.path + "/Assets/sound/fireplace.mp3", FIRE_TONE, FIRE_FRAMES, TONE_AMPLITUDE); }

    // Runs the audio for `seconds` with an update every `interval` seconds.
    std::string lastErr; // standard error of the last play()

    Report play(double seconds, double interval, const std::string& drivers = "wave",
                const std::string& ending = "delete", const std::string& pause = "")
    {
        writeFile(dir.path + "/alsoft.conf", "[general]\nchannels = stereo\nsample-type = int16\nfrequency = 44100\n"
                                             "[wave]\nfile = " + capturePath + "\n");
        ProcessOptions options;
        options.workDir = dir.path;
        options.env = {"ALSOFT_DRIVERS=" + drivers, "ALSOFT_CONF=" + dir.path + "/alsoft.conf"};
        options.timeoutSeconds = 30.0;
        const std::string reportPath = dir.path + "/report";
        // A capture or report left by an earlier run must not stand in for this one's.
        std::filesystem::remove(capturePath);
        std::filesystem::remove(reportPath);
        std::vector<std::string> args = {reportPath, std::to_string(seconds), std::to_string(interval), ending};
        if (!pause.empty())
            args.push_back(pause);
        const ProcessResult result = runProcess(AUDIO_PROBE_PATH, args, options);
        EXPECT_EQ(result.status, 0) << result.err;
        // The sound layer and the libraries under it keep standard output clean.
        EXPECT_EQ(result.out, "");
        lastErr = result.err;

        Report report;
        std::istringstream lines(readFile(reportPath));
        std::string key;
        std::string value;
        while (lines >> key >> value) {
            report[key] = value;
        }
        return report;
    }

    // Each tone's amplitude in 25 ms windows from `begin`, `count` windows long.
    std::vector<double> amplitudes(const WaveCapture& capture, double tone, std::size_t begin, std::size_t count)
    {
        std::vector<double> levels;
        for (std::size_t i = 0; i < count; ++i) {
            levels.push_back(toneAmplitude(capture, tone, begin + i * WINDOW / 2, WINDOW));
        }
        return levels;
    }

    static std::size_t at(double seconds) { return static_cast<std::size_t>(seconds * TONE_RATE); }

    TempDir dir;
    const std::string capturePath = dir.path + "/capture.wav";
};

} // namespace

TEST_F(AudioCapture, FireThenMusicPlayAtTheirVolumesAndLoopWithoutGaps)
{
    writeMusic();
    writeFire();
    Report report = play(1.6, 0.01);

    EXPECT_EQ(report["musicStream"], "1");
    EXPECT_EQ(report["fireStream"], "1");
    EXPECT_EQ(report["fireIndex"], "0");
    EXPECT_EQ(report["musicIndex"], "1");
    EXPECT_NEAR(std::stod(report["musicGain"]), 1.0, 1e-6);
    EXPECT_NEAR(std::stod(report["fireGain"]), 0.6, 1e-6);
    EXPECT_EQ(report["startResult"], "0");
    EXPECT_EQ(report["failedUpdates"], "0");

    const WaveCapture capture = readWaveCapture(capturePath);
    ASSERT_EQ(capture.rate, TONE_RATE);
    const std::size_t fireOnset = toneOnset(capture, FIRE_TONE, 0.02);
    const std::size_t musicOnset = toneOnset(capture, MUSIC_TONE, 0.02);
    EXPECT_LE(fireOnset, musicOnset);
    // Both files are far shorter than this stretch: the music passes its loop
    // point twice, the fire five times.
    const std::size_t begin = std::max(fireOnset, musicOnset) + at(0.05);
    ASSERT_GT(capture.left.size(), begin + at(1.3));
    const std::size_t windows = at(1.3) * 2 / WINDOW - 1;
    const std::vector<double> music = amplitudes(capture, MUSIC_TONE, begin, windows);
    const std::vector<double> fire = amplitudes(capture, FIRE_TONE, begin, windows);

    const double musicLevel = median(music);
    const double fireLevel = median(fire);
    // A centred mono source reaches each speaker at a little over half its level.
    EXPECT_GT(musicLevel, 0.3 * TONE_AMPLITUDE);
    EXPECT_NEAR(fireLevel / musicLevel, 0.6, 0.05);
    // A gap at a loop point, or a starved queue, would empty at least one window.
    EXPECT_GT(*std::min_element(music.begin(), music.end()), 0.75 * musicLevel);
    EXPECT_GT(*std::min_element(fire.begin(), fire.end()), 0.75 * fireLevel);
}

TEST_F(AudioCapture, MissingMusicFileSilencesOnlyTheMusic)
{
    writeFire();
    Report report = play(1.0, 0.01);

    EXPECT_EQ(report["musicStream"], "0");
    EXPECT_EQ(report["musicIndex"], "-1");
    EXPECT_EQ(report["fireIndex"], "0");
    EXPECT_NEAR(std::stod(report["fireGain"]), 0.6, 1e-6);
    EXPECT_EQ(report["failedUpdates"], "0");

    const WaveCapture capture = readWaveCapture(capturePath);
    ASSERT_EQ(capture.rate, TONE_RATE);
    const std::size_t onset = toneOnset(capture, FIRE_TONE, 0.02);
    ASSERT_GT(capture.left.size(), onset + at(0.8));
    const std::size_t windows = at(0.75) * 2 / WINDOW - 1;
    const std::vector<double> fire = amplitudes(capture, FIRE_TONE, onset + at(0.05), windows);
    const std::vector<double> music = amplitudes(capture, MUSIC_TONE, onset + at(0.05), windows);
    EXPECT_GT(*std::min_element(fire.begin(), fire.end()), 0.3 * 0.6 * TONE_AMPLITUDE);
    EXPECT_LT(*std::max_element(music.begin(), music.end()), 0.005);
}

// The caller stalls for three times the sound a channel queues, with a single
// update at the end, and then either deletes the system or leaves it to the
// exit; either way the device is closed and the capture finished.
TEST_F(AudioCapture, StreamsPlayOnWhileTheCallerStallsWithoutUpdates)
{
    writeMusic();
    writeFire();
    for (const char* ending : {"delete", "exit"}) {
        SCOPED_TRACE(ending);
        Report report = play(3.0, 3.0, "wave", ending);
        EXPECT_EQ(report["updates"], "1");
        EXPECT_EQ(report["failedUpdates"], "0");

        const WaveCapture capture = readWaveCapture(capturePath);
        ASSERT_EQ(capture.rate, TONE_RATE);
        EXPECT_TRUE(capture.finished);
        const std::size_t begin = std::max(toneOnset(capture, FIRE_TONE, 0.02), toneOnset(capture, MUSIC_TONE, 0.02));
        ASSERT_GT(capture.left.size(), begin + at(2.8));
        const std::size_t windows = at(2.7) * 2 / WINDOW - 1;
        // Both loops are seamless, so any quiet window is a starved queue; the
        // fire, the quieter at 0.6, sets the floor.
        for (const double tone : {MUSIC_TONE, FIRE_TONE}) {
            SCOPED_TRACE(tone);
            const std::vector<double> levels = amplitudes(capture, tone, begin + at(0.05), windows);
            EXPECT_GT(*std::min_element(levels.begin(), levels.end()), 0.3 * 0.6 * TONE_AMPLITUDE);
        }
    }
}

// Paused for the middle second of three, both sounds fall silent, and then go
// on from where they were.
TEST_F(AudioCapture, PausedSoundFallsSilentAndGoesOn)
{
    writeMusic();
    writeFire();
    Report report = play(3.0, 0.01, "wave", "delete", "pause");
    EXPECT_EQ(report["pauseResult"], "0");
    EXPECT_EQ(report["failedUpdates"], "0");

    const WaveCapture capture = readWaveCapture(capturePath);
    ASSERT_EQ(capture.rate, TONE_RATE);
    const std::size_t begin = std::max(toneOnset(capture, FIRE_TONE, 0.02), toneOnset(capture, MUSIC_TONE, 0.02));
    ASSERT_GT(capture.left.size(), begin + at(2.8));
    // Levels a quarter second apart over the run: playing, paused, playing again.
    for (const double tone : {MUSIC_TONE, FIRE_TONE}) {
        SCOPED_TRACE(tone);
        const std::vector<double> levels = amplitudes(capture, tone, begin, at(2.8) * 2 / WINDOW - 1);
        const std::size_t perSecond = 2 * TONE_RATE / WINDOW;
        EXPECT_GT(levels[perSecond / 2], 0.3 * 0.6 * TONE_AMPLITUDE) << "before the pause";
        EXPECT_LT(levels[3 * perSecond / 2], 0.005) << "while paused";
        EXPECT_GT(levels[5 * perSecond / 2], 0.3 * 0.6 * TONE_AMPLITUDE) << "after the pause";
    }
}

// ALSA without a sound card is what a machine without audio has; it and OpenAL
// Soft would print several lines each, and only the one line of ours remains,
// in the probe's name.
TEST_F(AudioCapture, WithoutAnAudioDeviceEveryCallFailsQuietly)
{
    writeMusic();
    writeFire();
    for (const char* drivers : {"no-such-driver", "alsa"}) {
        SCOPED_TRACE(drivers);
        Report report = play(0.3, 0.01, drivers);

        EXPECT_EQ(report["system"], "1");
        EXPECT_EQ(report["musicStream"], "0");
        EXPECT_EQ(report["fireStream"], "0");
        EXPECT_EQ(report["musicIndex"], "-1");
        EXPECT_EQ(report["fireIndex"], "-1");
        EXPECT_NE(report["startResult"], "0");
        EXPECT_GE(std::stoi(report["updates"]), 5);
        EXPECT_EQ(report["failedUpdates"], report["updates"]);
        EXPECT_EQ(lastErr, std::filesystem::path(AUDIO_PROBE_PATH).filename().string() +
                               ": Sound is off: no audio output device could be opened\n");
    }
}
