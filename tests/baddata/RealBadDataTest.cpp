// Broken sounds, music, icon and pictures through the real decoders (SDL_mixer, SDL_image) on the SDL
// back end with an offscreen OpenGL window and the dummy audio driver: the game still starts, plays into
// stage 1 silently or without the picture, shows nothing of a lost font, and writes nothing.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "app/CQovGame.h"
#include "app/Entry.h"
#include "baddata/Damage.h"
#include "baddata/GameRoot.h"
#include "gfx/CBitmapFont.h"
#include "gfx/CTexture.h"
#include "platform/HeadlessPlatform.h"
#include "sound/CBgmPlayer.h"
#include "sound/CSound.h"
#include "support/DiskOutput.h"
#include "support/GameTestSupport.h"
#include "task/TaskPool.h"
#include "tests/platform/GlFixture.h"

namespace {

namespace fs = std::filesystem;

constexpr int kDecide = 0x21;  // F with the shipped button map

class RealGame : public gltest::GlTest {
protected:
    void Start(const fs::path& gameRoot)
    {
        root = gameRoot;
        // The game makes its own window and device.
        Sys().graphics->ReleaseDevice();
        Sys().window->Destroy();
        files.moduleFileName = testsupport::GamePath((root / "bin" / "zenthar").string());
        files.currentDirectory = testsupport::GamePath(root.string());
        Sys().files = &files;
        Sys().messageBox = &boxes;  // a real box would wait for a click
        Sys().input = &keys;        // an offscreen window never has the focus keys need
        cwd = std::make_unique<gameroot::WorkingDirectory>(root);
        game = CreateGame();
        game->OnResetDevice();
    }
    void TearDown() override
    {
        if (game) {
            Sys().window->Destroy();
            delete game;
            g_game = nullptr;
        }
        cwd.reset();
    }

    void Step(int n, bool decide = false)
    {
        keys.SetKey(kDecide, decide);
        for (int i = 0; i < n; ++i) {
            win::Msg msg;
            while (Sys().window->PeekMessage(msg)) {
            }
            game->Update();
            // Frames on llvmpipe cost milliseconds: draw every eighth step and the last.
            if (i % 8 == 0 || i == n - 1) game->Render();
        }
    }

    // From the title into stage 1 with the decide key, then firing for a while.
    void Play()
    {
        Step(5);
        Step(1, true);
        Step(40);
        Step(80, true);
    }

    fs::path root;
    headless::FileSystem files;
    headless::Input keys;
    damage::EchoBoxes boxes;
    std::unique_ptr<gameroot::WorkingDirectory> cwd;
    CQovGame* game = nullptr;
};

using Case = std::tuple<const char*, damage::Kind>;

class RealBadDataTest : public RealGame, public ::testing::WithParamInterface<Case> {};

TEST_P(RealBadDataTest, DecodersRefuseItAndTheGamePlaysOn)
{
    const auto [path, kind] = GetParam();
    const std::string name = fs::path(path).filename().string();
    const fs::path copy = gameroot::CopyStaged("real_" + damage::Identifier(path) + "_" + damage::Name(kind));
    damage::Apply(copy / path, kind);
    const gameroot::Snapshot before = gameroot::Take(copy);
    Start(copy);
    Play();

    EXPECT_TRUE(boxes.shown.empty()) << boxes.shown.front().text;
    EXPECT_TRUE(Sys().window->Exists());
    EXPECT_EQ(game->sceneState, SCENE_STAGE1);
    const bool unreadable = kind != damage::Kind::Truncated;

    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".wav") == 0) {
        for (CSound* s : {game->seSample, game->seSelect, game->seDecide, game->seBullet, game->seEnemyBullet,
                          game->seHit}) {
            ASSERT_NE(s, nullptr);
        }
        const std::pair<const char*, CSound*> slots[] = {{"sample.wav", game->seSample},   {"select.wav", game->seSelect},
                                                         {"decide.wav", game->seDecide},   {"bullet.wav", game->seBullet},
                                                         {"ebullet.wav", game->seEnemyBullet}, {"hit.wav", game->seHit}};
        for (const auto& [file, sound] : slots) {
            if (name == file && unreadable) {
                EXPECT_EQ(sound->segment, 0) << file;
            } else if (name != file) {
                EXPECT_NE(sound->segment, 0) << file;
            }
        }
    } else if (name == "all.mid") {
        // No source means the stream is over as soon as it runs (the audio thread's verdict comes within
        // moments); the real music lasts minutes.
        if (unreadable) {
            EXPECT_TRUE(testsupport::Await([&] { return game->bgmPlayer->IsFinished(); }, 5.0));
        }
    } else if (name == "p_dragon.png") {
        EXPECT_EQ(game->texPlayer->GetWidth(), 0);
        EXPECT_EQ(game->texPlayer->texture, 0u);
    } else if (name == "Font.png") {
        // The panel's bitmap text (score, energy, captions at x 610 … 790, y 0 … 100) shows nothing.
        EXPECT_EQ(game->fontMain->texture->GetWidth(), 0);
        std::vector<std::uint32_t> frame;
        int w = 0, h = 0;
        ASSERT_TRUE(Sys().graphics->ReadBackBuffer(frame, w, h));
        ASSERT_EQ(w, 800);
        int lit = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 610; x < 790; ++x) lit += (frame[static_cast<size_t>(y) * 800 + x] & 0x00FFFFFFu) != 0;
        EXPECT_EQ(lit, 0) << "pixels lit where the lost font's text would be";
    }
    EXPECT_EQ(gameroot::Difference(before, gameroot::Take(copy)), "");
}

const char* const kDecoded[] = {"Sound/sample.wav", "Sound/select.wav",  "Sound/decide.wav",
                                "Sound/bullet.wav", "Sound/ebullet.wav", "Sound/hit.wav",
                                "BGM/all.mid",      "bin/game.ico",      "Texture/p_dragon.png",
                                "Font/Font.png"};

INSTANTIATE_TEST_SUITE_P(Decoded, RealBadDataTest,
                         ::testing::Combine(::testing::ValuesIn(kDecoded), ::testing::ValuesIn(damage::kAll)),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return damage::Identifier(std::get<0>(info.param)) + "_" +
                                    damage::Name(std::get<1>(info.param));
                         });

// An intact root after a real session: the same files with the same bytes, nothing added.
TEST_F(RealGame, ARealSessionLeavesTheGameRootByteIdentical)
{
    const fs::path copy = gameroot::CopyStaged("real_intact");
    const gameroot::Snapshot before = gameroot::Take(copy);
    Start(copy);
    Play();
    EXPECT_EQ(game->sceneState, SCENE_STAGE1);
    EXPECT_FALSE(game->bgmPlayer->IsFinished());
    EXPECT_NE(game->fontMain->texture->GetWidth(), 0);
    EXPECT_TRUE(boxes.shown.empty());
    TearDown();
    game = nullptr;
    EXPECT_EQ(gameroot::Difference(before, gameroot::Take(copy)), "");
}

}  // namespace
