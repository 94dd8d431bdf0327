#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/audio/VoiceMixer.h"

namespace {

// A sound holding one value on both sides.
std::vector<std::int16_t> Level(int value, int frames) { return std::vector<std::int16_t>(2 * frames, value); }

// Mixes `frames` over a music bed of `music` and returns the last frame, past the limiter's delay.
std::pair<int, int> MixOver(VoiceMixer& m, int frames, int music = 0)
{
    std::vector<std::int16_t> buffer(2 * frames, music);
    m.Mix(buffer.data(), frames);
    return {buffer[2 * frames - 2], buffer[2 * frames - 1]};
}

TEST(VoiceMixer, OverlappingInstancesAddUpAtTheSharedGainOverTheMusic)
{
    VoiceMixer m(44100);
    const auto sound = Level(1000, 44100);
    for (int i = 0; i < 10; ++i) m.Start(1, sound.data(), 44100, 0);
    EXPECT_EQ(MixOver(m, 1000), std::make_pair(10000, 10000));
    m.SetGain(0.5f);
    EXPECT_EQ(MixOver(m, 1000, 2000), std::make_pair(7000, 7000));
    m.SetGain(0.25f);
    m.Halt(1);
    m.Start(2, sound.data(), 44100, 0);
    EXPECT_EQ(MixOver(m, 1000, -2000), std::make_pair(-1750, -1750));
    EXPECT_FALSE(m.Sounding(1));
    EXPECT_TRUE(m.Sounding(2));
}

TEST(VoiceMixer, RepeatsPlayTheSoundAgainThenEnd)
{
    VoiceMixer m(44100);
    const auto sound = Level(1000, 100);
    m.Start(1, sound.data(), 100, 2);
    m.Start(2, sound.data(), 100, -1);
    m.Halt(2);
    m.Start(3, sound.data(), 100, -1);
    MixOver(m, 299);
    EXPECT_TRUE(m.Sounding(1));
    MixOver(m, 1);
    EXPECT_FALSE(m.Sounding(1));
    EXPECT_FALSE(m.Sounding(2));
    MixOver(m, 10000);
    EXPECT_TRUE(m.Sounding(3));  // forever
    m.Halt(0);
    EXPECT_FALSE(m.Sounding(3));
}

TEST(VoiceMixer, PositionPansAndAttenuates)
{
    VoiceMixer m(44100);
    const auto sound = Level(8000, 44100);
    m.Start(1, sound.data(), 44100, 0);
    m.SetPosition3D(1.0f, 0.0f, 0.0f);  // at the right
    EXPECT_EQ(MixOver(m, 1000), std::make_pair(0, 8000));
    m.SetPosition3D(-4.0f, 0.0f, 0.0f);  // far left
    EXPECT_EQ(MixOver(m, 1000), std::make_pair(2000, 0));
    m.SetPosition3D(0.0f, 0.0f, 2.0f);  // ahead, twice as far
    EXPECT_EQ(MixOver(m, 1000), std::make_pair(4000, 4000));
}

}  // namespace
