#include "game/CBackGround.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/WinTypes.h"
#include "tests/game/GameFixture.h"

namespace gametest {
namespace {

using MenuTest = GameTest;

TEST_F(MenuTest, TitleMovesWrapAndAreEdgeTriggered)
{
    EXPECT_EQ(game->sceneState, SCENE_TITLE);
    EXPECT_EQ(game->score, 0);
    EXPECT_EQ(game->energyStock, 3);
    // The music starts with the panel, on the title.
    const std::vector<std::string>& music = h->audio.musicCalls;
    EXPECT_TRUE(std::any_of(music.begin(), music.end(), [](const std::string& c) {
        return c.rfind("Render ", 0) == 0 && c.find("all.mid") != std::string::npos;
    }));
    ASSERT_FALSE(music.empty());
    EXPECT_EQ(music.back(), "Run");
    Step();
    EXPECT_EQ(Menu()->pointerX, 30);
    EXPECT_EQ(Menu()->pointerY, 512);

    const int expectRight[] = {190, 410, 30};
    for (int want : expectRight) {
        Tap(kRight);
        Step();
        EXPECT_EQ(Menu()->pointerX, want);
    }
    Tap(kLeft);
    EXPECT_EQ(Menu()->pointerX, 410);
    Step();

    Hold(kRight);
    Step(10);
    EXPECT_EQ(Menu()->pointerX, 30) << "a held move steps once";
    EXPECT_EQ(Played("select.wav"), 5);
    Hold(kRight, false);
}

TEST_F(MenuTest, OneFrameDecideStartsStageThirtyFramesLater)
{
    Step();
    Tap(kDecide);
    EXPECT_EQ(game->poolEffect->LiveCount(), 1);
    for (int frame = 1; frame < 30; ++frame) {
        Step();
        ASSERT_EQ(game->sceneState, SCENE_TITLE) << "frame " << frame;
    }
    EXPECT_EQ(game->poolPlayer->LiveCount(), 0);
    Step();
    EXPECT_EQ(game->sceneState, SCENE_STAGE1);
    ASSERT_NE(Player(), nullptr);
    EXPECT_EQ(Player()->posX, 284.0f);
    EXPECT_EQ(Player()->posY, 484.0f);
    EXPECT_EQ(Menu()->countdown, 0);
    EXPECT_FALSE(Menu()->firstStart);
    // The fade-out is black when the switch happens.
    EXPECT_EQ(game->poolEffect->LiveCount(), 1);
}

TEST_F(MenuTest, HeldDecideShortensTheCountdownAndRequestsAFadeEachFrame)
{
    Step();
    Hold(kDecide);
    Step(5);
    Hold(kDecide, false);
    EXPECT_EQ(game->poolEffect->LiveCount(), 5);
    EXPECT_EQ(Played("decide.wav"), 5);
    int frame = 5;
    while (game->sceneState == SCENE_TITLE && frame < 40) {
        Step();
        ++frame;
    }
    EXPECT_EQ(frame, 29) << "switch on frame 28 after the first decide, two sooner";
}

TEST_F(MenuTest, PointerStillMovesDuringCountdownAndTheTitleReopensOnGameStart)
{
    Step();
    Tap(kDecide);
    Tap(kRight);
    Step(29);
    ASSERT_EQ(game->sceneState, SCENE_STAGE1);
    EXPECT_EQ(Menu()->pointerX, 190);

    // What the second boss does at its end.
    game->playerAlive = false;
    game->sceneState = SCENE_TITLE;
    Step();
    EXPECT_EQ(game->poolPlayer->LiveCount(), 0);
    EXPECT_EQ(Menu()->pointerX, 30);
    EXPECT_EQ(Menu()->pointerY, 512);

    // A second game from here keeps the one spawn controller.
    Tap(kDecide);
    Step(30);
    ASSERT_EQ(game->sceneState, SCENE_STAGE1);
    EXPECT_EQ(game->poolPlayer->LiveCount(), 1);
    EXPECT_EQ(game->poolEControl->LiveCount(), 1);
}

TEST_F(MenuTest, OptionShowsItsBoxAndChangesNothing)
{
    Step();
    Tap(kRight);
    Step();
    Tap(kDecide);
    ASSERT_EQ(h->messageBoxes.shown.size(), 1u);
    const headless::RecordedBox& box = h->messageBoxes.shown[0];
    EXPECT_EQ(box.text, "未実装です");
    EXPECT_EQ(box.caption, "オプション");
    EXPECT_EQ(box.style, win::MB_OK);
    EXPECT_FALSE(box.owned);
    Step(40);
    EXPECT_EQ(game->sceneState, SCENE_TITLE);
    EXPECT_EQ(Menu()->countdown, 0);
    EXPECT_EQ(game->poolEffect->LiveCount(), 0);
}

TEST_F(MenuTest, GameEndOnTheTitleExitsWithStatusOne)
{
    Step();
    Tap(kLeft);
    ASSERT_EQ(Menu()->pointerX, 410);
    EXPECT_EXIT(Tap(kDecide), ::testing::ExitedWithCode(1), "");
}

TEST_F(MenuTest, GameOverMenuTogglesRestartsAndKeepsScore)
{
    StartStage();
    game->AddScore(120);
    LoseGame();
    Step();
    EXPECT_EQ(Menu()->pointerX, 250);
    EXPECT_EQ(Menu()->pointerY, 365);
    Tap(kDown);
    EXPECT_EQ(Menu()->pointerY, 435);
    Step();
    Tap(kUp);
    EXPECT_EQ(Menu()->pointerY, 365);
    Step();
    // Title keys do nothing here.
    Tap(kRight);
    EXPECT_EQ(Menu()->pointerX, 250);

    Tap(kDecide);
    Step(29);
    EXPECT_EQ(game->sceneState, SCENE_GAME_OVER);
    Step();
    EXPECT_EQ(game->sceneState, SCENE_STAGE1);
    EXPECT_EQ(game->poolPlayer->LiveCount(), 1);
    EXPECT_TRUE(game->playerAlive);
    EXPECT_EQ(game->score, 120);
    EXPECT_EQ(game->energyStock, 3);

    // The next game over opens on Restart again, and Game_End there ends the process.
    LoseGame();
    Step();
    EXPECT_EQ(Menu()->pointerY, 365);
    Tap(kDown);
    Step();
    EXPECT_EXIT(Tap(kDecide), ::testing::ExitedWithCode(1), "");
}

}  // namespace
}  // namespace gametest
