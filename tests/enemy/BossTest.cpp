#include "enemy/CBoss_1.h"
#include "enemy/CBoss_2.h"
#include "enemy/CBoss_F.h"
#include "enemy/CEnemy_bullet.h"
#include "enemy/CEnemy_zako.h"
#include "game/CBullet.h"
#include "tests/enemy/EnemyFixture.h"

namespace enemytest {
namespace {

class BossTest : public EnemyTest {
protected:
    void SetUp() override
    {
        EnemyTest::SetUp();
        game->sceneState = SCENE_STAGE1;
        PlaceShip(5.0f, 580.0f);
    }
    // Shots created by one update, by kind.
    std::vector<int> StepCountingShots()
    {
        std::vector<int> before(11), after(11);
        Count(before);
        Step();
        Count(after);
        for (int k = 0; k < 11; ++k) after[k] -= before[k];
        return after;
    }
    void Count(std::vector<int>& kinds)
    {
        TaskIter it(game->poolEnemyBullet);
        while (it.HasNext()) ++kinds[static_cast<CEnemy_bullet*>(it.Next())->kind];
    }
    static int Total(const std::vector<int>& kinds)
    {
        int n = 0;
        for (int k : kinds) n += k;
        return n;
    }
    // Lets only the boss pools run, so that shots pile up to be counted.
    void ClearShots()
    {
        TaskIter it(game->poolEnemyBullet);
        while (it.HasNext()) {
            it.Next();
            it.DestroyCurrent();
        }
    }
};

TEST_F(BossTest, TheFirstBossEntersFromItsRowThenCurtainsAndRings)
{
    auto* boss = new CBoss_1(300, 300.0f, 50.0f, 2.0f, 1.0f, 200);
    EXPECT_EQ(boss->x, 252.0f);
    EXPECT_EQ(boss->y, 2.0f);
    EXPECT_EQ(game->bossX, 252.0f);
    EXPECT_TRUE(game->bossActive);
    Step(98);
    EXPECT_EQ(boss->y, 100.0f);
    EXPECT_EQ(boss->phase, 0);
    EXPECT_EQ(game->bossX, 300.0f);  // the first boss publishes its centre
    EXPECT_EQ(game->bossY, 148.0f);
    Step();
    EXPECT_EQ(boss->phase, 1);
    EXPECT_EQ(boss->attack, 1);
    EXPECT_EQ(Live(game->poolEnemyBullet), 0);

    for (int t = 1; t < 60; ++t) {
        const std::vector<int> made = StepCountingShots();
        const int want = (t % 20 == 19 ? 12 : 0) + (t % 30 == 29 ? 10 : 0);
        ASSERT_EQ(Total(made), want) << "age " << t;
        if (t == 29) {
            EXPECT_EQ(made[0], 10);
            TaskIter it(game->poolEnemyBullet);
            float xs = 0.0f;
            while (it.HasNext()) {
                auto* s = static_cast<CEnemy_bullet*>(it.Next());
                if (s->kind == 0 && s->age == 0) xs += s->x;
            }
            EXPECT_EQ(xs, 10 * 40.0f + 60.0f * 45);  // from 40 + 60 i
        }
    }
    // Every 200 updates the curtain moves 30 to the right for half the time, and the ring turns.
    First<CPlayer>(game->poolPlayer)->energy = 1 << 30;
    for (int t = 60; t <= 220; ++t) {
        Step();
        ASSERT_EQ(boss->rowOffset, t >= 99 && t < 199 ? 30.0f : 0.0f) << "age " << t;
        ASSERT_EQ(boss->spin, t >= 199 ? 5.3f : 0.0f) << "age " << t;
    }
}

TEST_F(BossTest, WithNoDurationTheDashAndReturnEndAtOnceAndTheCrossStartsTwoUpdatesLater)
{
    auto* boss = new CBoss_1(100, 300.0f, 200.0f, 2.0f, 1.0f, 0);
    Step();
    ASSERT_EQ(boss->attack, 1);
    boss->hp = 69;
    Step();
    EXPECT_EQ(boss->phase, 2);
    EXPECT_EQ(boss->attack, 1);
    Step();
    EXPECT_EQ(boss->phase, 3);
    Step();
    EXPECT_EQ(boss->phase, 4);
    EXPECT_EQ(boss->attack, 2);
    EXPECT_EQ(boss->x, 252.0f);  // no dash took place
    // The cross every 15 updates, turning 2.3 degrees an update; an aimed shot every 30.
    for (int t = 1; t <= 30; ++t) {
        const float spin = boss->spin;
        const std::vector<int> made = StepCountingShots();
        ASSERT_EQ(made[1], t % 15 == 14 ? 4 : 0) << "age " << t;
        ASSERT_EQ(made[2], t % 30 == 29 ? 1 : 0) << "age " << t;
        ASSERT_EQ(Total(made), made[1] + made[2]);
        ASSERT_EQ(boss->spin, spin + 2.3f);
        if (made[1] == 0) continue;
        TaskIter it(game->poolEnemyBullet);
        float turns = 0.0f;
        while (it.HasNext()) {
            auto* s = static_cast<CEnemy_bullet*>(it.Next());
            if (s->kind == 1 && s->age == 0) turns += s->angle - spin;
        }
        EXPECT_FLOAT_EQ(turns, 0.0f + 90.0f + 180.0f + 270.0f);
    }
    boss->hp = 39;
    Step();
    EXPECT_EQ(boss->attack, 3);
    ClearShots();
    for (int t = 0; t < 150; ++t) {
        const std::vector<int> made = StepCountingShots();
        if (boss->age - 1 == 74) EXPECT_EQ(made[9], 12);
        else if (boss->age - 1 == 149) EXPECT_EQ(made[8], 12);
        else EXPECT_EQ(Total(made), 0);
    }
}

TEST_F(BossTest, TheSecondBossSwitchesOnePhasePerUpdateAtSinglePrecisionThresholds)
{
    auto* boss = new CBoss_2(10, 300.0f, 200.0f, 0.0f, 1.0f, 0);
    Step();
    ASSERT_EQ(boss->phase, 1);
    boss->hp = 7;  // 7 is not below 10 x 0.699999988
    Step();
    EXPECT_EQ(boss->phase, 1);
    boss->hp = 3;
    std::vector<int> made = StepCountingShots();
    EXPECT_EQ(boss->attack, 2);
    EXPECT_EQ(made[6], 2);
    EXPECT_EQ(boss->anchorX1, boss->x + 3.0f);
    made = StepCountingShots();
    EXPECT_EQ(boss->attack, 3);
    EXPECT_EQ(made[10], 24);

    auto* other = new CBoss_2(10, 300.0f, 200.0f, 0.0f, 1.0f, 0);
    other->phase = 2;
    other->hp = 4;  // 4 is below 10 x 0.400000006
    Step();
    EXPECT_EQ(other->phase, 3);
}

TEST_F(BossTest, TheSecondBossVolleyIsSixtyOneShots)
{
    new CBoss_2(100, 300.0f, 200.0f, 0.0f, 1.0f, 0);
    Step();
    for (int t = 1; t < 50; ++t) {
        const std::vector<int> made = StepCountingShots();
        if (t == 49) {
            EXPECT_EQ(Total(made), 61);
            EXPECT_EQ(made[2], 1);
            EXPECT_EQ(made[3], 12);
            EXPECT_EQ(made[1], 48);
        } else {
            ASSERT_EQ(Total(made), 0) << t;
        }
    }
}

TEST_F(BossTest, TheTrailsOfAttackTwoReturnToTheBossOnceTheyLeaveAfterAge350)
{
    auto* boss = new CBoss_2(100, 300.0f, 200.0f, 0.0f, 1.0f, 0);
    Step();
    boss->hp = 60;
    Step();
    ASSERT_EQ(boss->attack, 2);
    // anchorX1 passes 600 after about 100 updates, but nothing returns before age 350.
    Step(340);
    EXPECT_GT(boss->anchorX1, 600.0f);
    Step(20);
    EXPECT_LT(boss->anchorX1, 300.0f);
    EXPECT_LT(boss->age, 20);
}

struct DeathCase {
    int kind;
    int score;
    int scene;
};

class BossDeathTest : public BossTest, public ::testing::WithParamInterface<DeathCase> {};

TEST_P(BossDeathTest, TheLastHitPointStartsThirtyOneUpdatesOfScoreThenTheSceneChanges)
{
    const DeathCase c = GetParam();
    CBoss* boss = c.kind == 1   ? static_cast<CBoss*>(new CBoss_1(1, 300.0f, 300.0f, 0.0f, 0.0f, 0))
                  : c.kind == 2 ? static_cast<CBoss*>(new CBoss_2(1, 300.0f, 300.0f, 0.0f, 0.0f, 0))
                                : static_cast<CBoss*>(new CBoss_F(1, 300.0f, 300.0f, 0.0f, 0.0f, 0));
    TaskPool* pool = boss->pool;
    new CEnemy_zako(5, 50.0f, 50.0f, 0.0f, 0.0f, 0, 16);
    Step();
    new CBullet(292.0f, 350.0f, 16.0f, 16.0f, 0);  // flies into the boss in the next update
    const int before = game->score;
    int updates = 0;
    while (Live(pool) > 0 && updates < 100) {
        Step();
        ++updates;
        if (Live(pool) > 0) {
            EXPECT_LE(boss->hp, 0);
            EXPECT_LE(Live(game->poolEffect), 10);
        }
    }
    EXPECT_EQ(updates, 31);
    EXPECT_EQ(game->score - before, c.score);
    EXPECT_EQ(game->sceneState, c.scene);
    EXPECT_EQ(game->spawnFrame, 0);
    EXPECT_TRUE(game->readNextRow);
    EXPECT_FALSE(game->bossActive);
    EXPECT_GT(Live(game->poolEffect), 0);
    EXPECT_EQ(game->playerAlive, c.kind == 1);

    Step();
    EXPECT_EQ(Live(game->poolEnemyBullet), 0);
    const int others = Live(game->poolPlayer) + Live(game->poolEnemyZako);
    EXPECT_EQ(others, c.kind == 1 ? 2 : 0);
}

INSTANTIATE_TEST_SUITE_P(Bosses, BossDeathTest,
                         ::testing::Values(DeathCase{1, 3100, SCENE_STAGE2}, DeathCase{2, 3100, SCENE_TITLE},
                                           DeathCase{3, 31000, SCENE_TITLE}));

TEST_F(BossTest, ABossAliveAtTheGameOverLeavesAtOnceWithoutScore)
{
    new CBoss_1(0, 300.0f, 300.0f, 0.0f, 0.0f, 0);
    new CBoss_2(5, 300.0f, 300.0f, 0.0f, 0.0f, 0);
    game->sceneState = SCENE_GAME_OVER;
    const int before = game->score;
    Step();
    EXPECT_EQ(Live(game->poolBoss1) + Live(game->poolBoss2), 0);
    EXPECT_EQ(game->score, before);
    EXPECT_TRUE(game->bossActive);
}

TEST_F(BossTest, TheHitPointBarIsAThirdOfTheHitPoints)
{
    EnsureTexture(game->texHP, "HP.png");
    EnsureTexture(game->texBossDragon, "boss_dragon.png");
    new CBoss_2(100, 300.0f, 300.0f, 0.0f, 0.0f, 0);
    h->graphics.quads.clear();
    game->Draw();
    EXPECT_EQ(QuadsColoured(0xFFC88080u), 1);
    bool bar = false;
    for (const auto& q : h->graphics.quads) {
        if (q.colour == 0xFF80C880u && q.v[0].x == 10.0f && q.v[0].y == 10.0f) {
            EXPECT_EQ(q.v[1].u - q.v[0].u, 33.0f);
            bar = true;
        }
    }
    EXPECT_TRUE(bar);
}

}  // namespace
}  // namespace enemytest
