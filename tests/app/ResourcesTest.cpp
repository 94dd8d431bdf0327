#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <cmath>
#include <set>
#include <string>

#include "app/CQovGame.h"
#include "app/Entry.h"
#include "gfx/CBitmapFont.h"
#include "gfx/CTexture.h"
#include "platform/HeadlessPlatform.h"
#include "sound/CSound.h"
#include "support/GameTestSupport.h"

namespace {

namespace fs = std::filesystem;

// A copy of the staged root whose Config.ini (or any other file) the test may change.
class ResourcesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = fs::temp_directory_path() / ("zenthar_res_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root);
        fs::copy(ZENTHAR_STAGE_DIR, root, fs::copy_options::recursive);
    }
    void TearDown() override
    {
        delete game;
        fs::remove_all(root);
    }
    void WriteConfig(const std::string& bytes)
    {
        std::ofstream(root / "Config.ini", std::ios::binary | std::ios::trunc) << bytes;
    }
    CQovGame* Start()
    {
        h = &headless::Install();
        h->files.moduleFileName = testsupport::GamePath((root / "bin" / "zenthar").string());
        h->files.currentDirectory = testsupport::GamePath(root.string());
        game = CreateGame();
        return game;
    }
    std::vector<int> Map() const
    {
        std::vector<int> m;
        for (int k = 0; k < 10; ++k) m.push_back(game->joyButtonMap[k][0]);
        return m;
    }

    fs::path root;
    headless::HeadlessPlatform* h = nullptr;
    CQovGame* game = nullptr;
};

TEST_F(ResourcesTest, ConfigurationLinesTokensAndVolumes)
{
    WriteConfig("0 1 2 3 4 5 6 7 8 9\n8 5\n");
    Start();
    EXPECT_EQ(Map(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(game->cfgBgmVolume, 8);
    EXPECT_EQ(game->cfgSeVolume, 5);
    EXPECT_FLOAT_EQ(h->audio.effectGain, static_cast<float>(std::pow(10.0, -602 / 2000.0)));
    delete game;

    // Two spaces make an empty token; what is missing is 0; CR LF line ends.
    WriteConfig("3 2  1\r\n10\r\n");
    Start();
    EXPECT_EQ(Map(), (std::vector<int>{3, 2, 0, 1, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(game->cfgBgmVolume, 10);
    EXPECT_EQ(game->cfgSeVolume, 0);
    delete game;

    // Shift-JIS bytes in a line are text like any other: the token holding them is not a number.
    WriteConfig("1 \x83\x41 2\n\x82\xA0 4\n");
    Start();
    EXPECT_EQ(Map(), (std::vector<int>{1, 0, 2, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(game->cfgBgmVolume, 0);
    EXPECT_EQ(game->cfgSeVolume, 4);
    delete game;

    fs::remove(root / "Config.ini");
    Start();
    EXPECT_EQ(Map(), std::vector<int>(10, 0));
    EXPECT_EQ(game->cfgBgmVolume, 0);
    EXPECT_EQ(game->cfgSeVolume, 0);
    delete game;
    game = nullptr;
}

TEST_F(ResourcesTest, EverySlotHoldsItsOwnTextureAtTheFilesPixelSize)
{
    Start();
    struct Slot {
        CTexture* tex;
        int w, h;
    };
    const Slot slots[] = {
        {game->texPlayer, 32, 32},      {game->texBullet, 16, 16},       {game->texBulletS, 16, 16},
        {game->texTitle, 600, 650},     {game->texBlack, 600, 600},      {game->texGameOver, 600, 600},
        {game->texSky1, 256, 256},      {game->texSky2, 256, 256},       {game->texPhenix, 32, 32},
        {game->texGargoyle, 32, 32},    {game->texAmphisbaena, 32, 32},  {game->texEnemyBullet, 16, 16},
        {game->texBossDragon, 96, 96},  {game->texBossDragon2, 96, 96},  {game->texBossFinal, 96, 96},
    };
    std::set<CTexture*> distinct;
    std::set<std::uint32_t> handles;
    for (const Slot& s : slots) {
        ASSERT_NE(s.tex, nullptr);
        EXPECT_EQ(s.tex->GetWidth(), s.w);
        EXPECT_EQ(s.tex->GetHeight(), s.h);
        distinct.insert(s.tex);
        handles.insert(s.tex->texture);
    }
    for (CTexture* t : {game->texPointer, game->texGameStart, game->texOption, game->texGameEnd, game->texRestart,
                        game->texHP}) {
        ASSERT_NE(t, nullptr);
        EXPECT_GT(t->GetWidth(), 0);
        distinct.insert(t);
    }
    EXPECT_EQ(distinct.size(), 21u);  // files named twice still get a texture each
    EXPECT_EQ(handles.size(), 15u);
    EXPECT_EQ(game->meshes.size(), 1u);
    EXPECT_EQ(game->meshes.front(), game->modelSample);
}

TEST_F(ResourcesTest, FontsTakeTheirCellsFromTheirCharsets)
{
    Start();
    CBitmapFont* main = game->fontMain;
    ASSERT_NE(main, nullptr);
    EXPECT_FLOAT_EQ(main->cellU, 13.0f / 208.0f);
    EXPECT_FLOAT_EQ(main->cellV, 21.0f / 126.0f);
    EXPECT_FLOAT_EQ(main->glyphU['A'], 0.0625f);
    EXPECT_FLOAT_EQ(main->glyphV['A'], 2 * (21.0f / 126.0f));
    EXPECT_FLOAT_EQ(main->glyphU['\''], 0.0f);  // its later place, row 4
    EXPECT_FLOAT_EQ(main->glyphV['\''], 4 * (21.0f / 126.0f));
    EXPECT_FLOAT_EQ(main->glyphU[' '], 15 * 0.0625f);
    EXPECT_LT(main->glyphU['`'], 0.0f);
    EXPECT_FLOAT_EQ(main->glyphU['~'], 14 * 0.0625f);
    EXPECT_EQ(main->texture->GetWidth(), 208);

    CBitmapFont* sample = game->fontSample;
    ASSERT_NE(sample, nullptr);
    EXPECT_FLOAT_EQ(sample->glyphU['A'], 0.75f);
    EXPECT_FLOAT_EQ(sample->glyphV['A'], 0.0f);
    EXPECT_LT(sample->glyphU['a'], 0.0f);
    EXPECT_LT(sample->glyphU[' '], 0.0f);
    EXPECT_FLOAT_EQ(sample->glyphU['?'], (44 % 16) * 0.0625f);
    EXPECT_FLOAT_EQ(sample->glyphV['?'], 2 * 0.0625f);
}

TEST_F(ResourcesTest, SoundsAreLoadedInOrderAndAMissingOnePlaysNothing)
{
    fs::remove(root / "Sound" / "hit.wav");
    Start();
    ASSERT_NE(game->seHit, nullptr);
    ASSERT_NE(game->seBullet, nullptr);
    game->PlaySE(game->seBullet);
    game->PlaySE(game->seHit);
    EXPECT_EQ(h->audio.PlayCount("bullet.wav"), 1);
    EXPECT_EQ(h->audio.PlayCount("hit.wav"), 0);
    // The five that exist were loaded in the game's order and prepared for playing.
    ASSERT_EQ(h->audio.effects.size(), 5u);
    const char* order[] = {"sample.wav", "select.wav", "decide.wav", "bullet.wav", "ebullet.wav"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_NE(h->audio.effects[i].path.find(order[i]), std::string::npos) << order[i];
        EXPECT_TRUE(h->audio.effects[i].prepared) << order[i];
    }
}

TEST_F(ResourcesTest, MissingTextureIsZeroSizedAndTheGameStillRuns)
{
    fs::remove(root / "Texture" / "phenix.png");
    Start();
    ASSERT_NE(game->texPhenix, nullptr);
    EXPECT_EQ(game->texPhenix->GetWidth(), 0);
    EXPECT_EQ(game->texPhenix->GetHeight(), 0);
    for (int i = 0; i < 200; ++i) {
        game->Update();
        game->Render();
    }
    EXPECT_TRUE(h->messageBoxes.shown.empty());
}

TEST_F(ResourcesTest, MissingSampleMeshIsFatal)
{
    fs::remove(root / "Model" / "sample.x");
    EXPECT_EXIT(
        {
            Start();
        },
        ::testing::ExitedWithCode(1), "");
}

}  // namespace
