// The sound layer's calls before any output exists: each one answers an error
// and leaves its out-handle null, so a silent run never touches a dead handle.
#include "audio/audio_player.h"
#include "audio/sound_system.h"

#include <gtest/gtest.h>

TEST(SoundSystemWithoutOutput, EveryCallAnswersUninitialised)
{
    sound::System* system = nullptr;
    ASSERT_EQ(sound::System_Create(&system), sound::OK);
    ASSERT_NE(system, nullptr);

    auto* sound = reinterpret_cast<sound::Sound*>(0x1);
    EXPECT_EQ(system->createStream("any.mp3", sound::DEFAULT, nullptr, &sound), sound::ERR_UNINITIALIZED);
    EXPECT_EQ(sound, nullptr);
    auto* channel = reinterpret_cast<sound::Channel*>(0x1);
    EXPECT_EQ(system->playSound(nullptr, nullptr, false, &channel), sound::ERR_UNINITIALIZED);
    EXPECT_EQ(channel, nullptr);
    EXPECT_EQ(system->update(), sound::ERR_UNINITIALIZED);
    EXPECT_EQ(system->update(), sound::ERR_UNINITIALIZED);
    // No feeder was started, so there is none to stop, here or in the deletion.
    EXPECT_EQ(system->close(), sound::OK);
    EXPECT_EQ(system->update(), sound::ERR_UNINITIALIZED);
    delete system;
}

TEST(SoundSystemWithoutOutput, RefusesWhatItCannotDo)
{
    sound::System system;
    EXPECT_EQ(sound::System_Create(nullptr), sound::ERR_INVALID_PARAM);
    EXPECT_EQ(system.init(0, sound::INIT_NORMAL, nullptr), sound::ERR_INVALID_PARAM);
    EXPECT_EQ(system.init(16, 0x4, nullptr), sound::ERR_INVALID_PARAM);
    EXPECT_EQ(system.createStream("any.mp3", sound::DEFAULT, nullptr, nullptr), sound::ERR_INVALID_PARAM);
    EXPECT_EQ(system.playSound(nullptr, nullptr, false, nullptr), sound::ERR_INVALID_PARAM);
}

TEST(AudioPlayer, StartsEmptyAndAnUnstartedUpdateIsHarmless)
{
    AudioPlayer audio;
    EXPECT_EQ(audio.system, nullptr);
    EXPECT_EQ(audio.result, sound::OK);
    EXPECT_EQ(audio.musicChannel, nullptr);
    EXPECT_EQ(audio.fireChannel, nullptr);
    EXPECT_EQ(audio.musicStream, nullptr);
    EXPECT_EQ(audio.fireStream, nullptr);

    updateAudio(audio);
    EXPECT_EQ(audio.result, sound::ERR_INVALID_HANDLE);
}
