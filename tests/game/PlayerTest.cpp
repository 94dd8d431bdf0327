#include "game/CPlayer.h"

#include "enemy/CEnemy_bullet.h"
#include "enemy/CEnemy_strong.h"
#include "enemy/CEnemy_zako.h"
#include "game/CBullet_s.h"
#include "tests/game/GameFixture.h"

namespace gametest {
namespace {

using PlayerTest = GameTest;

TEST_F(PlayerTest, BoundsAreTestedBeforeEachStep)
{
    StartStage();
    CPlayer* p = Player();
    Hold(kRight);
    for (float want = 289.0f; want <= 569.0f; want += 5.0f) {
        Step();
        ASSERT_EQ(p->posX, want);
    }
    Step(3);
    EXPECT_EQ(p->posX, 569.0f);
    EXPECT_EQ(p->x, 569.0f);
    EXPECT_EQ(game->playerX, 569.0f);

    // At 568 or more only the left step applies; below it the two cancel.
    Hold(kLeft);
    Step();
    EXPECT_EQ(p->posX, 564.0f);
    Step(3);
    EXPECT_EQ(p->posX, 564.0f);
    Hold(kRight, false);
    Hold(kLeft, false);

    Hold(kUp);
    Step(200);
    EXPECT_EQ(p->posY, -1.0f);
    EXPECT_EQ(game->playerY, -1.0f);
}

TEST_F(PlayerTest, SlowModeMovesOnePixelAndRestoresSpeed)
{
    StartStage();
    CPlayer* p = Player();
    Hold(kSlow);
    Hold(kDown);
    Hold(kLeft);
    Step(3);
    EXPECT_EQ(p->posX, 281.0f);
    EXPECT_EQ(p->posY, 487.0f);
    EXPECT_EQ(p->speed, 5.0f);
    Hold(kSlow, false);
    Step();
    EXPECT_EQ(p->posX, 276.0f);
}

// The sequence ends on the 31st update whether the energy lands on 0 or far below it.
class PlayerDeathTest : public GameTest, public ::testing::WithParamInterface<int> {};

TEST_P(PlayerDeathTest, EndsOnThirtyFirstUpdateWithAFadeEachFrame)
{
    StartStage();
    Step(70);  // the start's fade has cleared
    ASSERT_EQ(game->poolEffect->LiveCount(), 0);
    Player()->energy = 1;
    Step();
    Player()->energy = GetParam();
    for (int update = 1; update <= 30; ++update) {
        Step();
        ASSERT_EQ(game->sceneState, SCENE_STAGE1) << update;
        ASSERT_EQ(game->poolEffect->LiveCount(), update < 10 ? update : 10) << update;
    }
    EXPECT_TRUE(game->playerAlive);
    Step();
    EXPECT_EQ(game->sceneState, SCENE_GAME_OVER);
    EXPECT_FALSE(game->playerAlive);
    EXPECT_EQ(game->poolPlayer->LiveCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Energy, PlayerDeathTest, ::testing::Values(0, -9));

TEST_F(PlayerTest, ClearedAliveFlagEndsPlayerAndSatellitesWithoutSceneChange)
{
    StartStage();
    game->AddScore(500);
    Step(2);
    ASSERT_EQ(game->poolBulletS->LiveCount(), 2);
    game->playerAlive = false;
    Step();
    EXPECT_EQ(game->poolPlayer->LiveCount(), 0);
    EXPECT_EQ(game->poolBulletS->LiveCount(), 0);
    EXPECT_EQ(game->sceneState, SCENE_STAGE1);
}

TEST_F(PlayerTest, SatellitesAppearFromFiveHundredPointsOneAFrame)
{
    StartStage();
    game->AddScore(499);
    Step(3);
    EXPECT_EQ(game->poolBulletS->LiveCount(), 0);
    game->AddScore(1);
    Step();
    EXPECT_EQ(game->poolBulletS->LiveCount(), 1);
    Step();
    EXPECT_EQ(game->poolBulletS->LiveCount(), 2);
    Hold(kRight);
    Step();
    const CBullet_s* s = First<CBullet_s>(game->poolBulletS);
    EXPECT_EQ(s->x, 289.0f + 8.0f);
    EXPECT_EQ(s->y, 484.0f + 8.0f);
}

// Only the 4 x 4 box at the sprite's centre, (298, 298) to (302, 302) here, can be hurt.
TEST_F(PlayerTest, EnemiesAndShotsOverTheSpriteButOffTheBoxDoNoHarm)
{
    StartStage();
    CPlayer* p = Player();
    p->posY = 284.0f;
    // Still enemies whose 32 x 32 boxes, and still shots whose 8 x 8 boxes, each touch one side of it.
    CEnemy* left = new CEnemy_zako(50, 282.0f, 300.0f, 0.0f, 0.0f, 0, 16);
    CEnemy* right = new CEnemy_strong(50, 318.0f, 300.0f, 0.0f, 0.0f, 0, 16);
    for (CEnemy* e : {left, right}) {
        e->x = e->drawX;
        e->y = e->drawY;
    }
    CEnemy_bullet* above = new CEnemy_bullet(292.0f, 286.0f, 0.0f, 0.0f, 0.0f, 16.0f, 16.0f, 1);
    CEnemy_bullet* below = new CEnemy_bullet(292.0f, 298.0f, 0.0f, 0.0f, 0.0f, 16.0f, 16.0f, 1);
    Step(2);
    EXPECT_EQ(p->energy, 100);
    EXPECT_EQ(game->poolEnemyBullet->LiveCount(), 2);

    // Half a pixel further in, each overlaps: 1 a frame from each enemy, 10 once from each shot.
    left->x = left->drawX += 0.5f;
    right->x = right->drawX -= 0.5f;
    above->y += 0.5f;
    below->y -= 0.5f;
    Step();
    EXPECT_EQ(p->energy, 78);
    Step();
    EXPECT_EQ(p->energy, 76);
    EXPECT_EQ(game->poolEnemyBullet->LiveCount(), 0);
}

}  // namespace
}  // namespace gametest
