// Volume settings of both players in hundredths of a decibel, and how they reach the output.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/HeadlessPlatform.h"
#include "platform/audio/IAudio.h"
#include "sound/CBgmPlayer.h"
#include "sound/CSoundPlayer.h"

namespace {

struct Row {
    int setting;
    int effect;
    int music;
};

TEST(SoundVolume, SettingsInTenthsGiveTheAttenuationTable)
{
    const Row rows[] = {{10, 0, 0}, {5, -602, -301}, {1, -2000, -1000}, {0, -9600, -10000}, {20, 0, 0},
                        {9, -91, -45}, {2, -1397, -698}};
    for (const Row& r : rows) {
        const float level = static_cast<float>(r.setting / 10.0);
        EXPECT_EQ(CSoundPlayer::EffectAttenuation(level), r.effect) << "setting " << r.setting;
        EXPECT_EQ(CBgmPlayer::MusicAttenuation(level), r.music) << "setting " << r.setting;
    }
}

TEST(SoundVolume, NegativeAndNanLevelsAreSilence)
{
    // The logarithm has no value there: both players take such a level as the quietest they have.
    for (float level : {-0.1f, -1.0f, -20.0f, std::numeric_limits<float>::quiet_NaN()}) {
        EXPECT_EQ(CSoundPlayer::EffectAttenuation(level), -9600) << level;
        EXPECT_EQ(CBgmPlayer::MusicAttenuation(level), -10000) << level;
    }
    // Below the floors but not zero.
    EXPECT_EQ(CSoundPlayer::EffectAttenuation(1e-6f), -9600);
    EXPECT_EQ(CBgmPlayer::MusicAttenuation(1e-12f), -10000);
}

TEST(SoundVolume, AttenuationBecomesLinearGain)
{
    EXPECT_FLOAT_EQ(GainFromAttenuation(0), 1.0f);
    EXPECT_NEAR(GainFromAttenuation(-602), 0.5f, 1e-4f);
    EXPECT_NEAR(GainFromAttenuation(-2000), 0.1f, 1e-6f);
    EXPECT_NEAR(GainFromAttenuation(-9600), 1.5849e-5f, 1e-8f);
}

TEST(SoundVolume, PlayersHandTheirGainToTheOutput)
{
    headless::HeadlessPlatform& h = headless::Install();
    CSoundPlayer effects(false, 1);
    effects.SetVolume(0.5f);
    EXPECT_NEAR(h.audio.effectGain, 0.5f, 1e-4f);
    effects.SetVolume(-3.0f);
    EXPECT_NEAR(h.audio.effectGain, 1.5849e-5f, 1e-8f);

    CBgmPlayer music;
    music.SetVolume(0.8f);  // nothing loaded yet: no effect at all
    EXPECT_EQ(music.volume, 0.0f);
    EXPECT_EQ(h.audio.music, nullptr);

    // Loading leaves full volume behind, whatever was asked before.
    ASSERT_TRUE(music.Load(ZENTHAR_SOURCE_DIR "/data/BGM/all.mid"));
    ASSERT_NE(h.audio.music, nullptr);
    EXPECT_EQ(music.volume, 1.0f);
    EXPECT_FLOAT_EQ(h.audio.music->gain, 1.0f);
    music.SetVolume(0.5f);
    EXPECT_NEAR(h.audio.music->gain, std::pow(10.0f, -301 / 2000.0f), 1e-6f);
    music.SetVolume(2.0f);
    EXPECT_EQ(music.volume, 1.0f);
    music.SetVolume(-1.0f);
    EXPECT_EQ(music.volume, 0.0f);
    EXPECT_NEAR(h.audio.music->gain, 1e-5f, 1e-9f);
}

}  // namespace
