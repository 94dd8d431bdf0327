#include "game/CPause.h"

#include "game/CBullet.h"
#include "tests/game/GameFixture.h"

namespace gametest {
namespace {

using PauseTest = GameTest;

TEST_F(PauseTest, MenusCannotBePaused)
{
    Step();
    Tap(kPause);
    EXPECT_FALSE(game->paused);
    StartStage();
    LoseGame();
    Step();
    Tap(kPause);
    EXPECT_FALSE(game->paused);
    Tap(kDown);
    EXPECT_EQ(Menu()->pointerY, 435) << "the menu keeps running";
}

TEST_F(PauseTest, HeldButtonTogglesOnceAndNothingMovesWhilePaused)
{
    StartStage();
    Tap(kDecide);
    ASSERT_EQ(game->poolBullet->LiveCount(), 1);
    const CBullet* shot = First<CBullet>(game->poolBullet);
    const float shotY = shot->y;
    game->spawnFrame = 42;

    Hold(kPause);
    Step(5);
    EXPECT_TRUE(game->paused);
    Hold(kPause, false);
    Hold(kRight);
    Hold(kDecide);
    Step(10);
    EXPECT_EQ(Player()->posX, 284.0f);
    EXPECT_EQ(game->poolBullet->LiveCount(), 1);
    EXPECT_EQ(shot->y, shotY);
    EXPECT_EQ(game->spawnFrame, 42);
    EXPECT_EQ(game->sceneState, SCENE_STAGE1);

    Tap(kPause);
    EXPECT_FALSE(game->paused);
    Step();
    EXPECT_EQ(Player()->posX, 294.0f);
}

}  // namespace
}  // namespace gametest
