// Every file the game reads, missing, empty, cut in half or replaced by noise, on the headless back end:
// the game fails the way it is meant to (silently, with a zero-size picture, with "error", or with its
// fatal message and status 1) and otherwise plays from the title into stage 1, and never writes.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "app/CQovGame.h"
#include "app/Entry.h"
#include "baddata/Damage.h"
#include "baddata/GameRoot.h"
#include "gfx/CBitmapFont.h"
#include "gfx/CTexture.h"
#include "platform/HeadlessPlatform.h"
#include "sound/CSound.h"
#include "support/GameTestSupport.h"
#include "task/TaskPool.h"

namespace {

namespace fs = std::filesystem;

enum class Role { Texture, Sky, Font, Sound, Music, Mesh, MeshTexture, Config, Setting, Table1, Table2 };

struct GameFile {
    const char* path;
    Role role;
};

const GameFile kFiles[] = {
    {"Texture/p_dragon.png", Role::Texture},   {"Texture/bullet.png", Role::Texture},
    {"Texture/title.png", Role::Texture},      {"Texture/Pointer.png", Role::Texture},
    {"Texture/Game_Start.png", Role::Texture}, {"Texture/Option.png", Role::Texture},
    {"Texture/Game_End.png", Role::Texture},   {"Texture/black.png", Role::Texture},
    {"Texture/Game_Over.png", Role::Texture},  {"Texture/Restart.png", Role::Texture},
    {"Texture/phenix.png", Role::Texture},     {"Texture/gargoyle.png", Role::Texture},
    {"Texture/amphisbaena.png", Role::Texture}, {"Texture/boss_dragon.png", Role::Texture},
    {"Texture/boss_final.png", Role::Texture}, {"Texture/HP.png", Role::Texture},
    {"Texture/sky.png", Role::Sky},            {"Font/Font.png", Role::Font},
    {"Font/FontSample.png", Role::Font},       {"Sound/sample.wav", Role::Sound},
    {"Sound/select.wav", Role::Sound},         {"Sound/decide.wav", Role::Sound},
    {"Sound/bullet.wav", Role::Sound},         {"Sound/ebullet.wav", Role::Sound},
    {"Sound/hit.wav", Role::Sound},            {"BGM/all.mid", Role::Music},
    {"Model/sample.x", Role::Mesh},            {"Model/sample.png", Role::MeshTexture},
    {"Config.ini", Role::Config},              {"Setting.ini", Role::Setting},
    {"Table/table1.txt", Role::Table1},        {"Table/table2.txt", Role::Table2},
};

// Pad 0's keys for pad buttons 0 … 8, and the directions.
constexpr int kButtonKey[9] = {0x2F, 0x20, 0x21, 0x22, 0x30, 0x23, 0x39, 0x31, 0x32};
constexpr int kLeft = 0x2C, kRight = 0x2E;

std::string FileName(const std::string& path) { return fs::path(path).filename().string(); }

// The whole game on a damaged root, from start-up through the title into stage 1.
class Session {
public:
    explicit Session(const fs::path& root) : root_(root), cwd_(root)
    {
        h = &headless::Install();
        h->files.moduleFileName = testsupport::GamePath((root / "bin" / "zenthar").string());
        h->files.currentDirectory = testsupport::GamePath(root.string());
        Sys().messageBox = &boxes;
        game = CreateGame();
        game->OnResetDevice();
        firstPresent = h->graphics.events.presents;
    }
    ~Session()
    {
        delete game;
        g_game = nullptr;
    }

    // The key feeding logical button 2 (decide and shot), or 0 when no key reaches it.
    int DecideKey() const
    {
        const int b = game->joyButtonMap[2][0];
        return b >= 0 && b < 9 ? kButtonKey[b] : 0;
    }

    void Step(int n, int held = 0, int held2 = 0)
    {
        for (int i = 0; i < n; ++i) {
            h->input.ReleaseAllKeys();
            if (held) h->input.SetKey(held, true);
            if (held2) h->input.SetKey(held2, true);
            game->Update();
            game->Render();
            ++frames;
            enemies = std::max(enemies, game->poolEnemyZako->LiveCount() + game->poolEnemyShot->LiveCount() +
                                            game->poolEnemyStrong->LiveCount());
        }
    }

    // Moves the title pointer there and back, decides Game_Start, then flies and fires for a while.
    void Play()
    {
        Step(5);
        Step(1, kRight);
        Step(2);
        Step(1, kLeft);
        Step(2);
        Step(1, DecideKey());
        Step(40);
        for (int leg = 0; leg < 4; ++leg) Step(50, DecideKey(), leg % 2 ? kLeft : kRight);
    }

    bool PoolsSound() const
    {
        for (TaskPool* p : {game->poolPlayer, game->poolBullet, game->poolBulletS, game->poolEffect, game->poolPause,
                            game->poolStage, game->poolEnemyZako, game->poolEnemyShot, game->poolEnemyStrong,
                            game->poolEnemyBullet, game->poolBoss1, game->poolBoss2, game->poolBossF,
                            game->poolEControl, game->poolBackGround}) {
            if (!p->CheckInvariants()) return false;
        }
        return true;
    }

    std::vector<CTexture*> TexturesOf(const std::string& file) const
    {
        const std::multimap<std::string, CTexture*> slots = {
            {"p_dragon.png", game->texPlayer},       {"bullet.png", game->texBullet},
            {"bullet.png", game->texBulletS},        {"title.png", game->texTitle},
            {"Pointer.png", game->texPointer},       {"Game_Start.png", game->texGameStart},
            {"Option.png", game->texOption},         {"Game_End.png", game->texGameEnd},
            {"black.png", game->texBlack},           {"Game_Over.png", game->texGameOver},
            {"Restart.png", game->texRestart},       {"sky.png", game->texSky1},
            {"sky.png", game->texSky2},              {"phenix.png", game->texPhenix},
            {"gargoyle.png", game->texGargoyle},     {"amphisbaena.png", game->texAmphisbaena},
            {"bullet.png", game->texEnemyBullet},    {"boss_dragon.png", game->texBossDragon},
            {"boss_dragon.png", game->texBossDragon2}, {"boss_final.png", game->texBossFinal},
            {"HP.png", game->texHP},                 {"Font.png", game->fontMain->texture},
            {"FontSample.png", game->fontSample->texture}};
        std::vector<CTexture*> found;
        for (auto [it, end] = slots.equal_range(file); it != end; ++it) found.push_back(it->second);
        return found;
    }

    CSound* SoundOf(const std::string& file) const
    {
        const std::map<std::string, CSound*> slots = {{"sample.wav", game->seSample},   {"select.wav", game->seSelect},
                                                      {"decide.wav", game->seDecide},   {"bullet.wav", game->seBullet},
                                                      {"ebullet.wav", game->seEnemyBullet}, {"hit.wav", game->seHit}};
        return slots.at(file);
    }

    headless::HeadlessPlatform* h = nullptr;
    damage::EchoBoxes boxes;
    CQovGame* game = nullptr;
    int firstPresent = 0;  // what start-up presented itself
    int frames = 0;
    int enemies = 0;  // most ordinary enemies alive at once

private:
    fs::path root_;
    gameroot::WorkingDirectory cwd_;
};

using Case = std::tuple<GameFile, damage::Kind>;

class BadDataTest : public ::testing::TestWithParam<Case> {};

TEST_P(BadDataTest, FailsAsDesignedAndNeverWrites)
{
    const auto [file, kind] = GetParam();
    const std::string name = FileName(file.path);
    const fs::path root = gameroot::CopyStaged("bad_" + damage::Identifier(file.path) + "_" + damage::Name(kind));
    damage::Apply(root / file.path, kind);
    const gameroot::Snapshot before = gameroot::Take(root);

    if (file.role == Role::Mesh) {
        EXPECT_EXIT(Session s(root), ::testing::ExitedWithCode(1),
                    "box \\[\\] Xファイルが読み込めません\nファイル名およびパスを確認してください。");
        return;
    }
    if (file.role == Role::Sky) {
        // Title and menus draw without the sky; the first frame of play cannot.
        EXPECT_EXIT(
            {
                Session s(root);
                s.Step(5);
                if (s.game->sceneState == SCENE_TITLE && s.boxes.shown.empty()) s.Play();
            },
            ::testing::ExitedWithCode(1), "box \\[DrawUtil\\] 関数DrawBG_Scroll \n テクスチャの幅が0以下");
        return;
    }

    Session s(root);
    const bool canDecide = s.DecideKey() != 0;
    s.Play();

    std::vector<std::string> shown;
    for (const auto& box : s.boxes.shown) shown.push_back(box.caption + "|" + box.text);
    const bool missingTable = kind == damage::Kind::Missing && (file.role == Role::Table1 || file.role == Role::Table2);
    EXPECT_EQ(shown, missingTable ? std::vector<std::string>{"|error"} : std::vector<std::string>{});
    EXPECT_TRUE(s.PoolsSound());
    EXPECT_EQ(s.h->graphics.events.presents - s.firstPresent, s.frames);
    if (canDecide) {
        EXPECT_EQ(s.game->sceneState, SCENE_STAGE1);
    }
    // The start was heard, unless its own sound is the broken one.
    if (name != "decide.wav" && canDecide && file.role != Role::Config) {
        EXPECT_GT(s.h->audio.PlayCount("decide.wav"), 0);
    }

    // What decoding the file gives: nothing for three of the damages. Half a picture never decodes (the
    // cut falls in its image data); half a sound or a piece of music may still play on the headless back
    // end, which only checks the header (the real decoders are tried in the SDL cases).
    const bool isPicture = fs::path(file.path).extension() == ".png";
    const bool unreadable = kind != damage::Kind::Truncated || isPicture;
    switch (file.role) {
    case Role::Texture:
    case Role::Font:
        for (CTexture* t : s.TexturesOf(name)) {
            ASSERT_NE(t, nullptr);
            if (unreadable) {
                EXPECT_EQ(t->GetWidth(), 0);
                EXPECT_EQ(t->GetHeight(), 0);
                EXPECT_EQ(t->texture, 0u);
            }
            EXPECT_EQ(t->GetWidth() == 0, t->texture == 0u);
        }
        if (file.role == Role::Font && unreadable && name == "Font.png") {
            // The panel's bitmap text leaves no mark: an untextured cell would be a solid block.
            for (const auto& q : s.h->graphics.quads) {
                if (q.viewport.x != 600 || q.texture != 0) continue;  // other text comes from the system font
                EXPECT_TRUE(q.v[0].x == q.v[1].x || q.v[0].y == q.v[2].y) << "a visible quad in the panel";
            }
        }
        break;
    case Role::Sound: {
        CSound* sound = s.SoundOf(name);
        ASSERT_NE(sound, nullptr);
        if (unreadable) {
            EXPECT_EQ(sound->segment, 0);
            EXPECT_EQ(s.h->audio.PlayCount(name), 0);
        }
        break;
    }
    case Role::Music:
        ASSERT_NE(s.h->audio.music, nullptr);
        if (unreadable) {
            EXPECT_FALSE(s.h->audio.music->hasSource);
        }
        break;
    case Role::Config:
        if (kind != damage::Kind::Random) {
            // Only what is present counts; the rest is 0. Half the file keeps "0 1 2 3 4 5 " of line 1.
            const int kept = kind == damage::Kind::Truncated ? 6 : 0;
            for (int k = 0; k < 10; ++k) EXPECT_EQ(s.game->joyButtonMap[k][0], k < kept ? k : 0) << k;
            EXPECT_EQ(s.game->cfgBgmVolume, 0);
            EXPECT_EQ(s.game->cfgSeVolume, 0);
            EXPECT_LT(s.h->audio.effectGain, 1e-4f);  // volume 0 is the floor of -96 dB: silent
        }
        EXPECT_GE(s.h->audio.effectGain, 0.0f);
        EXPECT_LE(s.h->audio.effectGain, 1.0f);
        break;
    case Role::Setting:
        EXPECT_FALSE(s.game->fullScreen);
        EXPECT_FALSE(s.h->window.fullScreen);
        break;
    case Role::Table1:
        // A stage 1 with nothing to read has no enemies; half a table still has its first waves.
        if (unreadable) {
            EXPECT_EQ(s.enemies, 0);
        } else {
            EXPECT_GT(s.enemies, 0);
        }
        break;
    case Role::Table2:
        EXPECT_GT(s.enemies, 0);
        break;
    case Role::MeshTexture:
    case Role::Mesh:
    case Role::Sky:
        break;
    }
    EXPECT_EQ(gameroot::Difference(before, gameroot::Take(root)), "");
}

INSTANTIATE_TEST_SUITE_P(EveryFile, BadDataTest,
                         ::testing::Combine(::testing::ValuesIn(kFiles), ::testing::ValuesIn(damage::kAll)),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return damage::Identifier(std::get<0>(info.param).path) + "_" +
                                    damage::Name(std::get<1>(info.param));
                         });

}  // namespace

namespace {

// Numbers no one would ship: out of every range, at the limits of their types, and past them.
TEST(HostileDataTest, ConfigurationValuesBeyondEveryRangeAreClampedOrIgnored)
{
    const fs::path root = gameroot::CopyStaged("hostile_config");
    gameroot::WriteAll(root / "Config.ini",
                       "999999999 -1 128 -2147483648 2147483647 99999999999 x 1e9 -0 33\r\n2147483647 -2147483648\r\n");
    Session s(root);
    EXPECT_EQ(s.game->joyButtonMap[2][0], 128);
    // Every key held, every logical button asked for: buttons that do not exist are simply never held.
    std::memset(s.h->input.keys, 0x80, sizeof s.h->input.keys);
    s.game->Update();
    for (int k = 0; k < 10; ++k) {
        const int b = s.game->joyButtonMap[k][0];
        EXPECT_EQ(s.game->GetIs(0, k), b >= 0 && b <= 8) << k;  // the keyboard feeds buttons 0 … 8
    }
    s.Step(100, 0x21);
    EXPECT_EQ(s.game->sceneState, SCENE_TITLE);  // nothing reaches decide
    EXPECT_TRUE(s.boxes.shown.empty());
    EXPECT_GE(s.h->audio.effectGain, 0.0f);
    EXPECT_LE(s.h->audio.effectGain, 1.0f);
    ASSERT_NE(s.h->audio.music, nullptr);
    EXPECT_GE(s.h->audio.music->gain, 0.0f);
    EXPECT_LE(s.h->audio.music->gain, 1.0f);
}

TEST(HostileDataTest, SpawnRowsWithExtremeValuesPlayWithoutFault)
{
    const fs::path root = gameroot::CopyStaged("hostile_tables");
    // Types, hit points, positions, speeds, durations and patterns at and beyond their limits; every
    // pattern number the enemies know and some they do not; a boss row last, as a stage ends.
    std::string rows;
    int frame = 40;
    for (int type = 0; type < 3; ++type) {
        for (const char* pattern : {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "-7", "2147483647"}) {
            rows += std::to_string(type) + " " + std::to_string(frame++) +
                    " 2147483647 3e38 -3e38 3e38 -3e38 2147483647 " + pattern + "\n";
            rows += std::to_string(type) + " " + std::to_string(frame++) + " -5 300 100 -1e-40 1e-40 -1 " +
                    pattern + "\n";
            rows += std::to_string(type) + " " + std::to_string(frame++) + " 1 300 0 0 0 0 " + pattern + "\n";
        }
    }
    rows += "7 " + std::to_string(frame++) + " 1 1 1 1 1 1 1\n";
    rows += "100 " + std::to_string(frame++) + " -2147483648 3e38 3e38 -3e38 3e38 -2147483648 0\n";
    gameroot::WriteAll(root / "Table" / "table1.txt", rows);
    gameroot::WriteAll(root / "Table" / "table2.txt", "200 10 2147483647 -3e38 -3e38 3e38 3e38 2147483647 0\n");

    Session s(root);
    s.Play();
    for (int leg = 0; leg < 20; ++leg) s.Step(50, s.DecideKey(), leg % 2 ? 0x2C : 0x2E);
    EXPECT_TRUE(s.PoolsSound());
    EXPECT_GT(s.enemies, 0);
    EXPECT_TRUE(s.boxes.shown.empty());
    EXPECT_EQ(s.h->graphics.events.presents - s.firstPresent, s.frames);
}

}  // namespace
