// Which frame a capture time selects, and the names of the capture files.
#include "replay/replay_capture.h"

#include <gtest/gtest.h>

TEST(ReplayCapture, TimeZeroTakesTheFirstFrame)
{
    EXPECT_EQ(captureFrame(0.0, 0.1), 1);
    EXPECT_EQ(captureFrame(0.0, 1.0 / 60.0), 1);
}

TEST(ReplayCapture, TakesTheFirstFrameWhoseTimeReachesTheCapture)
{
    EXPECT_EQ(captureFrame(0.1, 0.1), 1);
    EXPECT_EQ(captureFrame(0.05, 0.1), 1);
    EXPECT_EQ(captureFrame(0.35, 0.1), 4);
    EXPECT_EQ(captureFrame(0.25, 0.5), 1);
    EXPECT_EQ(captureFrame(1.0, 0.5), 2);
    EXPECT_EQ(captureFrame(1.01, 0.5), 3);
}

TEST(ReplayCapture, RoundingOfTheStepDoesNotPushACaptureOneFrameLate)
{
    // 0.3 / 0.1 and 65 / (1/60) are a hair off whole numbers in binary.
    EXPECT_EQ(captureFrame(0.3, 0.1), 3);
    EXPECT_EQ(captureFrame(0.7, 0.1), 7);
    EXPECT_EQ(captureFrame(65.0, 0.1), 650);
    EXPECT_EQ(captureFrame(65.0, 1.0 / 60.0), 3900);
    EXPECT_EQ(captureFrame(65.0, static_cast<double>(1.0f / 60.0f)), 3900);
    EXPECT_EQ(captureFrame(65.001, 1.0 / 60.0), 3901);
}

TEST(ReplayCapture, PeriodicCapturesTakeEveryMultipleOnceOnTheFrameItSelects)
{
    EXPECT_EQ(periodicCaptureTimes(1, 5.0, 0.1), std::vector<double>{0.0});
    EXPECT_EQ(periodicCaptureTimes(50, 5.0, 0.1), std::vector<double>{5.0});
    EXPECT_TRUE(periodicCaptureTimes(51, 5.0, 0.1).empty());
    EXPECT_EQ(periodicCaptureTimes(1, 0.1, 0.25).size(), 3u) << "0, 0.1 and 0.2 s all fall on the first frame";

    struct Run {
        double step;
        double dt;
        long frames;
        size_t multiples; // 0 s included
    };
    for (const Run run : {Run{5.0, 0.1, 1300, 27}, Run{0.1, 1.0 / 60.0, 600, 101}}) {
        size_t taken = 0;
        for (long frame = 1; frame <= run.frames; ++frame)
            taken += periodicCaptureTimes(frame, run.step, run.dt).size();
        EXPECT_EQ(taken, run.multiples) << "every " << run.step << " s at " << run.dt << " s a frame";
    }
}

TEST(ReplayCapture, FileNameIsTheTimeWithOneDecimalPaddedToSixCharacters)
{
    EXPECT_EQ(captureFileName(65.0), "t0065.0.png");
    EXPECT_EQ(captureFileName(0.0), "t0000.0.png");
    EXPECT_EQ(captureFileName(1.5), "t0001.5.png");
    EXPECT_EQ(captureFileName(2.04), "t0002.0.png");
    EXPECT_EQ(captureFileName(123.26), "t0123.3.png");
    EXPECT_EQ(captureFileName(12345.0), "t12345.0.png");
}
