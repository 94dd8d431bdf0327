#include "enemy/CEnemy_shot.h"
#include "enemy/CEnemy_strong.h"
#include "enemy/CEnemy_zako.h"
#include "enemy/CEnemy_bullet.h"
#include "game/CBullet.h"
#include "gfx/CTexture.h"
#include "tests/enemy/EnemyFixture.h"

namespace enemytest {
namespace {

class OrdinaryEnemyTest : public EnemyTest {
protected:
    void SetUp() override
    {
        EnemyTest::SetUp();
        game->sceneState = SCENE_STAGE1;
        PlaceShip(5.0f, 580.0f);
        // The bar picture, in case the resources have not given one.
        EnsureTexture(game->texHP, "HP.png");
    }
    // A player shot that moves into the 32 x 32 enemy whose sprite is at (ex, ey) in its next update.
    void ShootInto(float ex, float ey) { new CBullet(ex + 8.0f, ey + 36.0f, 16.0f, 16.0f, 0); }
    // HP images in the bars drawn at (x, y) this frame; -1 when none is drawn there.
    float BarUnitsAt(float x, float y)
    {
        h->graphics.quads.clear();
        game->Draw();
        for (const auto& q : h->graphics.quads) {
            if (game->texHP && q.texture == game->texHP->texture && q.v[0].x == x && q.v[0].y == y)
                return q.v[1].u - q.v[0].u;
        }
        return -1.0f;
    }
};

TEST_F(OrdinaryEnemyTest, AZakoHitInThreeFramesScoresTenAndItsBarShrinks)
{
    auto* zako = new CEnemy_zako(3, 300.0f, 300.0f, 0.0f, 0.0f, 0, 16);
    EXPECT_EQ(zako->x, 300.0f);  // the row's centre until the first update
    Step();
    EXPECT_EQ(zako->x, 284.0f);
    ASSERT_NE(game->texHP, nullptr);
    EXPECT_EQ(BarUnitsAt(284.0f, 284.0f), 3.0f);
    const int before = game->score;
    ShootInto(284.0f, 284.0f);
    Step();
    EXPECT_EQ(zako->hp, 2);
    EXPECT_EQ(BarUnitsAt(284.0f, 284.0f), 2.0f);
    ShootInto(284.0f, 284.0f);
    Step();
    EXPECT_EQ(BarUnitsAt(284.0f, 284.0f), 1.0f);
    EXPECT_EQ(game->score, before);
    ShootInto(284.0f, 284.0f);
    Step();
    EXPECT_EQ(Live(game->poolEnemyZako), 0);
    EXPECT_EQ(game->score, before + 10);
}

TEST_F(OrdinaryEnemyTest, TheOtherKindsScoreMoreAndDrawAThirdOfTheirHitPoints)
{
    new CEnemy_shot(2, 100.0f, 100.0f, 0.0f, 0.0f, 0, 16);
    new CEnemy_strong(5, 300.0f, 100.0f, 0.0f, 0.0f, 0, 16);
    new CEnemy_shot(5, 500.0f, 100.0f, 0.0f, 0.0f, 0, 16);
    Step();
    EXPECT_EQ(BarUnitsAt(84.0f, 84.0f), -1.0f);  // 2 / 3 is no unit: no bar
    EXPECT_EQ(BarUnitsAt(284.0f, 84.0f), 1.0f);
    EXPECT_EQ(BarUnitsAt(484.0f, 84.0f), 1.0f);
    First<CEnemy_shot>(game->poolEnemyShot)->hp = 1;
    First<CEnemy_strong>(game->poolEnemyStrong)->hp = 1;
    const int before = game->score;
    ShootInto(84.0f, 84.0f);
    ShootInto(284.0f, 84.0f);
    Step();
    EXPECT_EQ(game->score, before + 60);
}

TEST_F(OrdinaryEnemyTest, AStrongEnemyHoldingInPatternElevenFiresEveryTwentyUpdates)
{
    // Reaches the middle at age 40 (y from 84 by 6 a frame passes 300 at age 36).
    auto* strong = new CEnemy_strong(30, 300.0f, 100.0f, 0.0f, 6.0f, 100, 11);
    int shotsAt[200] = {};
    for (int t = 0; t < 120; ++t) {
        const int before = Live(game->poolEnemyBullet);
        Step();
        shotsAt[t] = Live(game->poolEnemyBullet) - before;
    }
    for (int t = 0; t < 120; ++t) {
        const bool holding = t >= 36;
        const int want = holding && t % 20 == 0 ? 3 : 0;
        EXPECT_EQ(shotsAt[t], want) << "age " << t;
    }
    EXPECT_EQ(strong->holding, 1);
}

TEST_F(OrdinaryEnemyTest, DiagonalStrongEnemiesFireTwoShotsAtEveryTwentiethAge)
{
    new CEnemy_strong(30, 100.0f, 50.0f, 1.0f, 1.0f, 0, 14);
    new CEnemy_strong(30, 500.0f, 50.0f, 1.0f, 1.0f, 0, 15);
    for (int t = 0; t <= 40; ++t) {
        const int before = Live(game->poolEnemyBullet);
        Step();
        EXPECT_EQ(Live(game->poolEnemyBullet) - before, t % 20 == 0 ? 4 : 0) << "age " << t;
    }
}

TEST_F(OrdinaryEnemyTest, AShootingEnemyFiresOneLooseShotEverySecondUpdateWhileHolding)
{
    new CEnemy_shot(9, 300.0f, 100.0f, 0.0f, 2.0f, 20, 1);
    int shots = 0;
    for (int t = 0; t < 30; ++t) {
        const int before = Live(game->poolEnemyBullet);
        Step();
        const int fired = Live(game->poolEnemyBullet) - before;
        EXPECT_EQ(fired, t >= 10 && t < 20 && t % 2 == 0 ? 1 : 0) << "age " << t;
        shots += fired;
    }
    EXPECT_EQ(shots, 5);
    EXPECT_EQ(First<CEnemy_bullet>(game->poolEnemyBullet)->kind, 5);
}

TEST_F(OrdinaryEnemyTest, LeavingDownwardsEndsOneUpdateAfterPassingTheEdgeWithoutScore)
{
    new CEnemy_zako(3, 300.0f, 590.0f, 0.0f, 4.0f, 0, 0);
    const int before = game->score;
    int updates = 0;
    while (Live(game->poolEnemyZako) > 0 && updates < 100) {
        Step();
        ++updates;
    }
    // The sprite moves 578, 582, ... 602 in updates 1 to 7; the collision position follows at the
    // end of each, so the 8th update finds it past 600.
    EXPECT_EQ(updates, 8);
    EXPECT_EQ(game->score, before);
}

TEST_F(OrdinaryEnemyTest, LosingTheShipRemovesEveryEnemyWithoutScore)
{
    new CEnemy_zako(0, 100.0f, 100.0f, 0.0f, 0.0f, 0, 16);
    new CEnemy_shot(3, 200.0f, 100.0f, 0.0f, 0.0f, 0, 16);
    new CEnemy_strong(3, 300.0f, 100.0f, 0.0f, 0.0f, 0, -1);
    game->playerAlive = false;
    const int before = game->score;
    Step();
    EXPECT_EQ(Live(game->poolEnemyZako) + Live(game->poolEnemyShot) + Live(game->poolEnemyStrong), 0);
    EXPECT_EQ(game->score, before);
}

}  // namespace
}  // namespace enemytest
