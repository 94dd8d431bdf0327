#include "enemy/CEnemy_bullet.h"

#include <cmath>

#include "enemy/CEnemy_strong.h"
#include "tests/enemy/EnemyFixture.h"

namespace enemytest {
namespace {

class EnemyBulletTest : public EnemyTest {
protected:
    void SetUp() override
    {
        EnemyTest::SetUp();
        game->sceneState = SCENE_STAGE1;
        game->bossActive = true;
        ship = PlaceShip(5.0f, 580.0f);
    }
    // Updates only the shot pool, with the ship where the test put it.
    void StepShots(int n = 1)
    {
        for (int i = 0; i < n; ++i) UpdateTasks(game->poolEnemyBullet);
    }
    // A directed shot whose sprite starts at (x, y).
    CEnemy_bullet* Shot(float x, float y, float angle, float speed, int kind)
    {
        return new CEnemy_bullet(x, y, angle, speed, speed, 16.0f, 16.0f, kind);
    }

    CPlayer* ship = nullptr;
};

TEST_F(EnemyBulletTest, AimedShotsFlyAtTheShipAndAnOffsetTurnsThemAside)
{
    game->playerX = 100.0f;
    game->playerY = 400.0f;
    auto* down = Shot(100.0f, 100.0f, 90.0f, 3.0f, 2);
    auto* aside = Shot(100.0f, 100.0f, 90.0f, 3.0f, 3);
    EXPECT_EQ(down->x, 100.0f);  // centred on the 16 x 16 shooter: the same corner
    StepShots();
    game->playerX = 500.0f;  // aiming happens once
    StepShots(9);
    EXPECT_NEAR(down->x, 100.0f, 1e-4);
    EXPECT_NEAR(down->y, 130.0f, 1e-4);
    // Perpendicular to the aim: straight down turned by 90 degrees (pi as 3.14) heads left.
    EXPECT_NEAR(aside->y, 100.0f + 30.0f * std::sin(3.14159265 / 2 + 3.14 / 2), 1e-3);
    EXPECT_LT(aside->x, 71.0f);
}

TEST_F(EnemyBulletTest, FixedAndStraightKindsKeepTheirCourse)
{
    auto* fall = new CEnemy_bullet(0.0f, 0.0f, 45.0f, 9.0f, 2.0f, 32.0f, 32.0f, 0);
    auto* fixed = Shot(300.0f, 300.0f, 60.0f, 4.0f, 1);
    EXPECT_EQ(h->audio.PlayCount("ebullet.wav"), 2);  // each directed shot sounds as it is made
    EXPECT_EQ(fall->x, 8.0f);
    EXPECT_EQ(fall->y, 8.0f);
    StepShots(5);
    EXPECT_EQ(fall->x, 8.0f);
    EXPECT_EQ(fall->y, 18.0f);
    EXPECT_NEAR(fixed->x, 300.0 + 5 * 4.0 * std::cos(60.0 * 3.14 / 180.0), 1e-3);
    EXPECT_NEAR(fixed->y, 300.0 + 5 * 4.0 * std::sin(60.0 * 3.14 / 180.0), 1e-3);
}

TEST_F(EnemyBulletTest, ALooseShotDeviatesAtMostFortyFourDegrees)
{
    game->playerX = 300.0f;
    game->playerY = 500.0f;
    bool left = false, right = false;
    for (int i = 0; i < 60; ++i) {
        auto* s = Shot(300.0f, 100.0f, 0.0f, 2.0f, 5);
        StepShots();
        const float deviation = s->angle - static_cast<float>(std::atan2(400.0, 0.0));
        EXPECT_LE(std::fabs(deviation), 44.0f * 3.14f / 180.0f + 1e-5f);
        EXPECT_NEAR(std::fabs(deviation), std::fabs(s->spread), 1e-6);
        left = left || deviation > 0.0f;
        right = right || deviation < 0.0f;
    }
    EXPECT_TRUE(left && right);
}

TEST_F(EnemyBulletTest, AHangingShotWaitsTwoHundredAndOneUpdatesThenTakesItsAngleAsRadians)
{
    auto* s = Shot(300.0f, 300.0f, 1.0f, 5.0f, 6);
    StepShots(201);
    EXPECT_EQ(s->x, 300.0f);
    EXPECT_EQ(s->y, 300.0f);
    StepShots();
    EXPECT_NEAR(s->x, 300.0 + 5.0 * std::cos(1.0), 1e-4);
    EXPECT_NEAR(s->y, 300.0 + 5.0 * std::sin(1.0), 1e-4);
}

TEST_F(EnemyBulletTest, ABouncingShotTurnsAtTheFloorAndCeilingAndEndsAfterAThousandUpdates)
{
    auto* s = Shot(300.0f, 590.0f, 90.0f, 4.0f, 10);
    int turnedUp = -1, turnedDown = -1;
    for (int update = 1; update <= 1000; ++update) {
        const float before = s->angle;
        StepShots();
        ASSERT_EQ(Live(game->poolEnemyBullet), 1) << update;
        if (before == 90.0f && s->angle == 270.0f && turnedUp < 0) turnedUp = update;
        if (before == 270.0f && s->angle == 90.0f && turnedDown < 0) turnedDown = update;
    }
    // 590, 594, 598, 602: the fourth update finds it past 600 and mirrors 90 to 270.
    EXPECT_EQ(turnedUp, 4);
    EXPECT_GT(turnedDown, turnedUp);
    StepShots();
    EXPECT_EQ(Live(game->poolEnemyBullet), 0);
}

TEST_F(EnemyBulletTest, TheRightWallMirrorsTheVerticalDirectionForSmallAngles)
{
    auto* s = Shot(602.0f, 300.0f, 30.0f, 1.0f, 10);
    StepShots();
    EXPECT_EQ(s->angle, 330.0f);  // 360 - 30, not 180 - 30
    auto* t = Shot(-2.0f, 300.0f, 200.0f, 1.0f, 10);
    StepShots();
    EXPECT_EQ(t->angle, 340.0f);  // k 200 > 180 at the left wall: 540 - 200
    auto* u = Shot(-2.0f, 300.0f, -30.0f, 1.0f, 10);
    StepShots();
    EXPECT_EQ(u->angle, 210.0f);  // k -30 keeps its sign: 180 - (-30)
}

TEST_F(EnemyBulletTest, OrbitingShotsSpiralAroundTheBossAndMayLeaveTheField)
{
    game->bossX = 300.0f;
    game->bossY = 100.0f;
    auto* open = new CEnemy_bullet(252.0f, 52.0f, 10.0f, 0.0f, 96.0f, 96.0f, 8);
    auto* back = new CEnemy_bullet(252.0f, 52.0f, 10.0f, 90.0f, 96.0f, 96.0f, 9);
    EXPECT_EQ(h->audio.PlayCount("ebullet.wav"), 0);  // orbiting shots are silent
    EXPECT_EQ(open->x, 292.0f);
    StepShots();
    EXPECT_FLOAT_EQ(open->x, 310.0f);
    EXPECT_FLOAT_EQ(open->y, 100.0f);
    EXPECT_EQ(open->radius, 11.0f);
    EXPECT_EQ(open->angle, 2.0f);
    EXPECT_EQ(back->angle, 88.0f);
    StepShots(499);
    EXPECT_GT(std::hypot(open->x - 300.0f, open->y - 100.0f), 400.0f);
    StepShots(500);
    EXPECT_EQ(Live(game->poolEnemyBullet), 2);  // outside the field and still alive
    StepShots();
    EXPECT_EQ(Live(game->poolEnemyBullet), 0);
}

TEST_F(EnemyBulletTest, AHitCostsTenEnergyAndOneShotNeverHitsTwoShips)
{
    CPlayer* second = new CPlayer(300.0f, 300.0f);
    ship->posX = ship->x = 284.0f;
    ship->posY = ship->y = 284.0f;
    second->posX = second->x = 284.0f;
    second->posY = second->y = 284.0f;
    Shot(292.0f, 292.0f, 0.0f, 0.0f, 1);
    StepShots();
    EXPECT_EQ(Live(game->poolEnemyBullet), 0);
    EXPECT_EQ(ship->energy + second->energy, 190);
    EXPECT_EQ(ship->energy, 90);
    EXPECT_EQ(h->audio.PlayCount("hit.wav"), 1);
}

TEST_F(EnemyBulletTest, ShotsLiveOnlyOnTheBossLicenceAndEndAtTheGameOver)
{
    Shot(100.0f, 100.0f, 0.0f, 0.0f, 1);
    StepShots(3);
    EXPECT_EQ(Live(game->poolEnemyBullet), 1);
    game->bossActive = false;
    StepShots();
    EXPECT_EQ(Live(game->poolEnemyBullet), 0);
    EnsureTexture(game->texEnemyBullet, "bullet.png");
    Shot(100.0f, 100.0f, 0.0f, 0.0f, 1);
    h->graphics.quads.clear();
    game->Draw();
    EXPECT_EQ(QuadsColoured(0xFF0030FFu), 1);
    StepShots();
    h->graphics.quads.clear();
    game->Draw();
    EXPECT_EQ(QuadsColoured(0xFF0030FFu), 0);  // removed in its first update

    game->bossActive = true;
    Shot(100.0f, 100.0f, 0.0f, 0.0f, 1);
    game->sceneState = SCENE_GAME_OVER;
    StepShots();
    EXPECT_EQ(Live(game->poolEnemyBullet), 0);
}

TEST_F(EnemyBulletTest, AFullPoolCreatesNothingAndSaysNothing)
{
    for (int i = 0; i < 1000; ++i) ASSERT_NE(Shot(100.0f, 100.0f, 0.0f, 0.0f, 1), nullptr);
    EXPECT_EQ(Shot(100.0f, 100.0f, 0.0f, 0.0f, 1), nullptr);
    CEnemy::FirePattern(100.0f, 100.0f, 90.0f, 2.0f, 2.0f, 4);
    EXPECT_EQ(Live(game->poolEnemyBullet), 1000);
    EXPECT_TRUE(h->messageBoxes.shown.empty());
}

TEST_F(EnemyBulletTest, FirePatternsMakeTheirShotsFromTheShootersSprite)
{
    CEnemy::FirePattern(100.0f, 100.0f, 90.0f, 2.0f, 2.0f, 3);
    CEnemy::FirePattern(100.0f, 100.0f, 90.0f, 2.0f, 2.0f, 4);
    CEnemy::FirePattern(100.0f, 100.0f, 90.0f, 2.0f, 2.0f, 6);
    CEnemy::FirePattern(100.0f, 100.0f, 90.0f, 2.0f, 2.0f, 5);
    int kinds[11] = {};
    float offsets = 0.0f;
    TaskIter it(game->poolEnemyBullet);
    while (it.HasNext()) {
        auto* s = static_cast<CEnemy_bullet*>(it.Next());
        EXPECT_EQ(s->x, 108.0f);
        EXPECT_EQ(s->y, 108.0f);
        ++kinds[s->kind];
        if (s->kind == 3) offsets += std::fabs(s->angle);
    }
    EXPECT_EQ(kinds[3], 4);
    EXPECT_EQ(kinds[2], 1);
    EXPECT_EQ(kinds[5], 1);
    EXPECT_EQ(Live(game->poolEnemyBullet), 6);
    EXPECT_EQ(offsets, 40.0f);
}

}  // namespace
}  // namespace enemytest
