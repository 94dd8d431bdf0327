#include "game/CBullet.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "tests/game/GameFixture.h"

namespace gametest {
namespace {

// A still enemy stand-in, placed in whichever pool the test names.
class Target : public CMobTask {
public:
    static void* operator new(std::size_t size, TaskPool* pool) noexcept { return pool->Allocate(size); }
    Target(TaskPool* pool, float x, float y) : CMobTask(pool, x, y, 0.0f, 0.0f, 32.0f, 32.0f) {}
};

using BulletTest = GameTest;

std::vector<CBullet*> Shots(TaskPool* pool)
{
    std::vector<CBullet*> shots;
    TaskIter it(pool);
    while (it.HasNext()) shots.push_back(static_cast<CBullet*>(it.Next()));
    return shots;
}

TEST_F(BulletTest, StraightShotFromThePlayerLivesFiftyUpdates)
{
    Step();
    const CBullet* made = new CBullet(284.0f, 484.0f, 32.0f, 32.0f, 0);
    EXPECT_EQ(made->x, 292.0f);
    EXPECT_EQ(made->y, 492.0f);
    Step(120);
    ASSERT_EQ(game->poolBullet->LiveCount(), 0);

    StartStage();
    Tap(kDecide);
    std::vector<CBullet*> shots = Shots(game->poolBullet);
    ASSERT_EQ(shots.size(), 1u);
    EXPECT_EQ(shots[0]->x, 292.0f);
    EXPECT_EQ(shots[0]->y, 482.0f);
    Step(49);
    ASSERT_EQ(game->poolBullet->LiveCount(), 1);
    EXPECT_EQ(shots[0]->y, -8.0f);
    Step();
    EXPECT_EQ(game->poolBullet->LiveCount(), 0);
}

TEST_F(BulletTest, AngledShotsUseTheScreenBoundsNotThePlayField)
{
    CBullet* right = new CBullet(595.0f, 590.0f, 16.0f, 16.0f, 1);
    CBullet* left = new CBullet(300.0f, 590.0f, 16.0f, 16.0f, 2);
    Step();
    EXPECT_NEAR(right->x - 595.0f, 1.7434516f, 1e-4f);
    EXPECT_NEAR(590.0f - right->y, 9.846846f, 1e-4f);
    EXPECT_NEAR(300.0f - left->x, 1.7277691f, 1e-4f);
    EXPECT_NEAR(590.0f - left->y, 9.849609f, 1e-4f);
    Step(60);
    EXPECT_EQ(game->poolBullet->LiveCount(), 2);
    EXPECT_GT(right->x, 700.0f);
    Step();  // y falls below -16 on the 62nd update
    EXPECT_EQ(game->poolBullet->LiveCount(), 0);

    new CBullet(800.0f, 300.0f, 16.0f, 16.0f, 1);
    Step(9);
    EXPECT_EQ(game->poolBullet->LiveCount(), 1);
    Step();
    EXPECT_EQ(game->poolBullet->LiveCount(), 0);
}

TEST_F(BulletTest, EndsOnFirstUpdateOverlappingAnEnemyOfTheFivePools)
{
    TaskPool* hit[] = {game->poolEnemyZako, game->poolEnemyShot, game->poolEnemyStrong, game->poolBoss1,
                       game->poolBoss2};
    float column = 0.0f;
    for (TaskPool* pool : hit) {
        new (pool) Target(pool, column, 100.0f);
        new CBullet(column + 8.0f, 108.0f, 16.0f, 16.0f, 0);  // box fully inside the target
        column += 100.0f;
    }
    // Not tested by the shots: the final boss and enemy bullets.
    new (game->poolBossF) Target(game->poolBossF, 500.0f, 100.0f);
    new CBullet(508.0f, 108.0f, 16.0f, 16.0f, 9);
    new (game->poolEnemyBullet) Target(game->poolEnemyBullet, 600.0f, 100.0f);
    new CBullet(608.0f, 108.0f, 16.0f, 16.0f, 9);
    // Boxes sharing only an edge: the shot's box right edge meets the target's left edge.
    new (game->poolEnemyZako) Target(game->poolEnemyZako, 700.0f, 400.0f);
    new CBullet(700.0f - 12.0f, 400.0f, 16.0f, 16.0f, 9);

    Step();
    std::vector<std::pair<float, float>> left;
    for (CBullet* s : Shots(game->poolBullet)) left.emplace_back(s->x, s->y);
    const std::vector<std::pair<float, float>> want = {{508.0f, 108.0f}, {608.0f, 108.0f}, {688.0f, 400.0f}};
    EXPECT_EQ(left, want);
    EXPECT_EQ(Played("hit.wav"), 5);
}

TEST_F(BulletTest, SatellitesMakeAFanOfFiveFromFiveHundredPoints)
{
    StartStage();
    game->AddScore(500);
    Hold(kDecide);
    Step();
    EXPECT_EQ(game->poolBullet->LiveCount(), 3);
    const int before = Played("bullet.wav");
    Step();
    EXPECT_EQ(Played("bullet.wav") - before, 3);
    std::vector<CBullet*> shots = Shots(game->poolBullet);
    ASSERT_EQ(shots.size(), 8u);
    std::vector<std::pair<float, float>> newest;
    for (size_t i = 3; i < shots.size(); ++i) newest.emplace_back(shots[i]->x, shots[i]->y);
    std::sort(newest.begin(), newest.end());
    // Player's shot moved once; the satellites' are first updated next frame.
    const std::vector<std::pair<float, float>> want = {
        {284.0f - 7.0f, 484.0f + 33.0f}, {284.0f - 7.0f, 484.0f + 33.0f}, {292.0f, 482.0f},
        {284.0f + 23.0f, 484.0f + 33.0f}, {284.0f + 23.0f, 484.0f + 33.0f}};
    EXPECT_EQ(newest, want);
}

TEST_F(BulletTest, FullShotPoolRefusesQuietly)
{
    StartStage();
    while (new CBullet(100.0f, 100.0f, 16.0f, 16.0f, 7)) {
    }
    ASSERT_EQ(game->poolBullet->LiveCount(), 1000);
    Hold(kDecide);
    Step(3);
    EXPECT_EQ(game->poolBullet->LiveCount(), 1000);
    EXPECT_EQ(Played("bullet.wav"), 3);
    EXPECT_TRUE(game->poolBullet->CheckInvariants());
}

}  // namespace
}  // namespace gametest
