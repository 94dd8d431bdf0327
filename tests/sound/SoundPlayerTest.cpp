// Effect and music players on the recording back end: lifetimes, registration, transport, failures.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>

#include "app/CQovGame.h"
#include "app/Entry.h"
#include "platform/HeadlessPlatform.h"
#include "sound/CBgmPlayer.h"
#include "sound/CSound.h"
#include "sound/CSoundLoader.h"
#include "sound/CSoundPlayer.h"
#include "support/GameTestSupport.h"

namespace {

const std::string kSounds = ZENTHAR_SOURCE_DIR "/data/Sound/";
const std::string kMusic = ZENTHAR_SOURCE_DIR "/data/BGM/all.mid";

int Count(const std::vector<std::string>& calls, const std::string& call)
{
    int n = 0;
    for (const std::string& c : calls) n += c == call;
    return n;
}

TEST(SoundLoader, SharedWhileSoundsLiveAndGoneAtZero)
{
    headless::HeadlessPlatform& h = headless::Install();
    {
        CSoundPlayer player(false, 1);
        CSoundLoader* shared = g_soundLoader;
        ASSERT_NE(shared, nullptr);
        EXPECT_EQ(shared->refCount, 0);  // the player holds no reference
        auto* a = new CSound(kSounds + "select.wav");
        auto* b = new CSound(kSounds + "hit.wav");
        EXPECT_EQ(g_soundLoader, shared);
        EXPECT_EQ(shared->refCount, 2);
        EXPECT_NE(a->segment, 0);
        EXPECT_NE(a->segment, b->segment);
        delete a;
        EXPECT_EQ(g_soundLoader, shared);
        EXPECT_EQ(shared->refCount, 1);
        delete b;
        EXPECT_EQ(g_soundLoader, nullptr);
        EXPECT_EQ(h.audio.refs, 1);  // only the player's hold on the device is left

        // The next sound brings a fresh loader.
        CSound c(kSounds + "hit.wav");
        ASSERT_NE(g_soundLoader, nullptr);
        EXPECT_EQ(g_soundLoader->refCount, 1);
        EXPECT_NE(c.segment, 0);
    }
    EXPECT_EQ(g_soundLoader, nullptr);
    EXPECT_EQ(h.audio.refs, 0);
}

TEST(SoundPlayer, EveryPlayAddsAnInstanceOnlyOnceRegistered)
{
    headless::HeadlessPlatform& h = headless::Install();
    CSoundPlayer player(false, 1);
    player.SetVolume(0.5f);
    CSound bullet(kSounds + "bullet.wav");

    player.Play(&bullet);  // not yet prepared for this player
    EXPECT_TRUE(h.audio.played.empty());
    EXPECT_FALSE(player.IsPlaying(&bullet));

    player.Register(&bullet);
    for (int frame = 0; frame < 10; ++frame) player.Play(&bullet);
    ASSERT_EQ(h.audio.PlayCount("bullet.wav"), 10);
    EXPECT_EQ(h.audio.effects[bullet.segment - 1].sounding, 10);
    EXPECT_NEAR(h.audio.played.back().gain, 0.5f, 1e-4f);
    EXPECT_TRUE(player.IsPlaying(&bullet));
    player.Stop(&bullet);
    EXPECT_FALSE(player.IsPlaying(&bullet));

    bullet.SetPlayCount(3);
    EXPECT_EQ(h.audio.effects[bullet.segment - 1].repeats, 2);
    bullet.SetPlayCount(0);
    EXPECT_EQ(h.audio.effects[bullet.segment - 1].repeats, 0);

    // 3-D placement exists only in 3-D mode.
    player.SetPosition3D(1, 2, 3);
    EXPECT_EQ(h.audio.position3D[2], 0.0f);
    CSoundPlayer spatial(true, 1);
    spatial.SetPosition3D(1, 2, 3);
    EXPECT_EQ(h.audio.position3D[2], 3.0f);
}

TEST(SoundPlayer, MissingOrBrokenFilesPlayNothing)
{
    headless::HeadlessPlatform& h = headless::Install();
    const std::string broken = testing::TempDir() + "broken.wav";
    std::ofstream(broken) << "not a wave";
    CSoundPlayer player(false, 1);
    CSound missing(kSounds + "nothere.wav");
    CSound bad(broken);
    EXPECT_EQ(missing.segment, 0);
    EXPECT_EQ(bad.segment, 0);
    for (CSound* s : {&missing, &bad}) {
        player.Register(s);
        player.Play(s);
        s->SetPlayCount(2);
        EXPECT_FALSE(player.IsPlaying(s));
    }
    player.Play(nullptr);
    EXPECT_TRUE(h.audio.played.empty());
}

TEST(SoundPlayer, WithoutAnOutputDeviceEverythingIsSilent)
{
    headless::HeadlessPlatform& h = headless::Install();
    h.audio.deviceAvailable = false;
    CSoundPlayer player(false, 1);
    EXPECT_EQ(player.performance, nullptr);
    EXPECT_EQ(player.audioPath, nullptr);
    CSound s(kSounds + "hit.wav");
    EXPECT_EQ(s.segment, 0);
    player.Register(&s);
    player.SetVolume(1.0f);
    player.Play(&s);
    EXPECT_FALSE(player.IsPlaying(&s));

    CBgmPlayer music;
    EXPECT_FALSE(music.Load(kMusic));
    music.SetVolume(1.0f);
    music.Play();
    EXPECT_TRUE(music.IsFinished());
    EXPECT_EQ(music.GetPosition(), 0.0);
    EXPECT_EQ(music.GetBalance(), 0.0f);
    EXPECT_TRUE(h.audio.played.empty());
    EXPECT_TRUE(h.audio.musicCalls.empty());
}

TEST(BgmPlayer, TransportPositionsAndBalance)
{
    headless::HeadlessPlatform& h = headless::Install();
    h.audio.musicDuration = 90.0;
    CBgmPlayer music;
    EXPECT_TRUE(music.IsFinished());  // nothing loaded
    ASSERT_TRUE(music.Load(kMusic));
    headless::Audio::Music* m = h.audio.music;
    ASSERT_NE(m, nullptr);
    EXPECT_FALSE(m->running);  // stopped after loading
    EXPECT_EQ(music.GetStopPosition(), 90.0);

    music.Play();
    EXPECT_TRUE(m->running);
    EXPECT_FALSE(music.IsFinished());
    music.SetPosition(12.5);
    music.Seek(-2.5);
    EXPECT_DOUBLE_EQ(music.GetPosition(), 10.0);
    music.Stop();
    EXPECT_FALSE(m->running);
    EXPECT_EQ(music.GetPosition(), 0.0);  // stop rewinds

    music.SetBalance(0.25f);
    EXPECT_EQ(m->balance, 2500);
    EXPECT_FLOAT_EQ(music.GetBalance(), 0.25f);
    music.SetBalance(-3.0f);
    EXPECT_EQ(m->balance, -10000);
    music.SetBalance(0.00019f);  // truncated, not rounded
    EXPECT_EQ(m->balance, 1);

    music.Play();
    h.audio.FinishMusic();
    EXPECT_TRUE(music.IsFinished());

    // A second load replaces the stream; a file that does not render leaves one that plays nothing.
    EXPECT_FALSE(music.Load(ZENTHAR_SOURCE_DIR "/data/BGM/none.mid"));
    EXPECT_EQ(Count(h.audio.musicCalls, "Release"), 1);
    ASSERT_NE(h.audio.music, nullptr);
    EXPECT_FALSE(h.audio.music->hasSource);
    music.Play();
    EXPECT_TRUE(music.IsFinished());
    music.ReleaseAll();
    EXPECT_EQ(h.audio.music, nullptr);
    EXPECT_EQ(h.audio.refs, 0);
}

TEST(GameSound, StartUpPlaysTheMusicAndEffectsAtTheConfiguredVolumes)
{
    // The volumes are whatever the staged configuration asks for.
    headless::HeadlessPlatform& h = testsupport::InstallStaged();
    CQovGame* game = CreateGame();
    ASSERT_NE(game, nullptr);
    ASSERT_NE(game->bgmPlayer, nullptr);
    ASSERT_NE(game->soundPlayer, nullptr);
    ASSERT_GT(game->cfgSeVolume, 0);
    ASSERT_GT(game->cfgBgmVolume, 0);
    EXPECT_NEAR(h.audio.effectGain,
                std::pow(10.0f, CSoundPlayer::EffectAttenuation(game->cfgSeVolume / 10.0f) / 2000.0f), 1e-4f);

    // The stage started the music from the BGM directory at the configured volume.
    EXPECT_EQ(Count(h.audio.musicCalls, "Render " + game->baseDir + "..\\BGM\\all.mid"), 1);
    ASSERT_NE(h.audio.music, nullptr);
    EXPECT_TRUE(h.audio.music->hasSource);
    EXPECT_TRUE(h.audio.music->running);
    EXPECT_EQ(h.audio.musicCalls.back(), "Run");
    EXPECT_NEAR(h.audio.music->gain,
                std::pow(10.0f, CBgmPlayer::MusicAttenuation(game->cfgBgmVolume / 10.0f) / 2000.0f), 1e-4f);

    // Every sound is loaded and registered: each plays, once per call.
    for (CSound* s : {game->seSample, game->seSelect, game->seDecide, game->seBullet, game->seEnemyBullet,
                      game->seHit}) {
        ASSERT_NE(s, nullptr);
        const std::size_t before = h.audio.played.size();
        game->PlaySE(s);
        game->PlaySE(s);
        EXPECT_EQ(h.audio.played.size(), before + 2) << h.audio.effects[s->segment - 1].path;
    }
    EXPECT_EQ(h.audio.PlayCount("hit.wav"), 2);

    // A later volume and a missing file: the player is started all the same and plays nothing.
    game->cfgBgmVolume = 5;
    h.audio.musicCalls.clear();
    game->PlayBGM("missing.mid");
    ASSERT_NE(h.audio.music, nullptr);
    EXPECT_FALSE(h.audio.music->hasSource);
    EXPECT_EQ(h.audio.musicCalls.back(), "Run");
    game->PlayBGM("all.mid");
    EXPECT_NEAR(h.audio.music->gain, std::pow(10.0f, -301 / 2000.0f), 1e-6f);
}

}  // namespace
