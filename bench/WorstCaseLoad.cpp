#include "bench/WorstCaseLoad.h"

#include "app/CQovGame.h"
#include "enemy/CBoss_1.h"
#include "enemy/CEnemy_bullet.h"
#include "enemy/CEnemy_shot.h"
#include "enemy/CEnemy_strong.h"
#include "enemy/CEnemy_zako.h"
#include "game/CBullet.h"
#include "game/CBullet_s.h"
#include "game/CPlayer.h"
#include "task/TaskPool.h"

namespace bench {

namespace {

// The ship sits at the bottom centre; enemy shots stay above it.
constexpr float kShipX = 300.0f, kShipY = 576.0f;
// Enemies hold in three rows at the top, the boss below them; player shots fly below the boss, so
// that no shot, even after its step, overlaps anything it tests.
constexpr float kEnemyColumnStep = 29.0f;
constexpr float kShotTop = 220.0f;
constexpr int kColumns = 40;
constexpr int kHugeHp = 1000000000;

int Live(TaskPool* pool)
{
    return pool->LiveCount();
}

template <class Fn>
void EachLive(TaskPool* pool, Fn fn)
{
    TaskIter it(pool);
    int i = 0;
    while (it.HasNext()) fn(static_cast<CMobTask*>(it.Next()), i++);
}

}  // namespace

WorstCaseLoad::WorstCaseLoad(CQovGame* game) : game_(game)
{
    for (int i = 0; i < kPlayerShots; ++i) {
        const int col = i % kColumns, row = i / kColumns;
        playerShots_.push_back({col * 14.5f, kShotTop + row * 12.0f});
    }
    for (int i = 0; i < kEnemyShots; ++i) {
        const int col = i % kColumns, row = i / kColumns;
        enemyShots_.push_back({col * 14.6f, row * 22.0f});
    }

    game_->sceneState = SCENE_STAGE1;
    game_->paused = false;
    game_->score = 1000;  // satellites from 500 points
    game_->bossActive = true;
    if (Live(game_->poolPlayer) == 0) new CPlayer(kShipX, kShipY);
    game_->playerX = kShipX - 16.0f;
    game_->playerY = kShipY - 16.0f;
    while (Live(game_->poolBulletS) < game_->poolBulletS->capacity && new CBullet_s()) {
    }
    TopUpEnemies();
    TopUpShots();
}

void WorstCaseLoad::TopUpEnemies()
{
    CQovGame* game = game_;
    // Pattern 11 with no duration holds still at once, and the two shooting kinds keep trying to fire.
    auto spot = [](int i, int row, float& x, float& y) {
        x = 16.0f + (i % kEnemiesPerKind) * kEnemyColumnStep;
        y = 16.0f + row * 32.0f;
    };
    float x, y;
    for (int i = Live(game->poolEnemyZako); i < kEnemiesPerKind; ++i) {
        spot(i, 0, x, y);
        if (!new CEnemy_zako(kHugeHp, x, y, 2.0f, 2.0f, 0, 11)) break;
    }
    for (int i = Live(game->poolEnemyShot); i < kEnemiesPerKind; ++i) {
        spot(i, 1, x, y);
        if (!new CEnemy_shot(kHugeHp, x, y, 2.0f, 2.0f, 0, 11)) break;
    }
    for (int i = Live(game->poolEnemyStrong); i < kEnemiesPerKind; ++i) {
        spot(i, 2, x, y);
        if (!new CEnemy_strong(kHugeHp, x, y, 2.0f, 2.0f, 0, 11)) break;
    }
    if (Live(game->poolBoss1) == 0) {
        if (CBoss_1* boss = new CBoss_1(kHugeHp, 300.0f, 148.0f, 1.0f, 1.0f, 100000)) {
            boss->phase = 1;
            boss->attack = 1;
        }
    }
}

void WorstCaseLoad::TopUpShots()
{
    for (int i = Live(game_->poolBullet); i < kPlayerShots; ++i) {
        const Spot& s = playerShots_[static_cast<size_t>(i)];
        if (!new CBullet(s.x, s.y, 16.0f, 16.0f, i % 3)) break;
    }
    for (int i = Live(game_->poolEnemyBullet); i < kEnemyShots; ++i) {
        const Spot& s = enemyShots_[static_cast<size_t>(i)];
        if (!new CEnemy_bullet(s.x, s.y, static_cast<float>((i * 37) % 360), 3.0f, 3.0f, 16.0f, 16.0f, i % 2))
            break;
    }
}

void WorstCaseLoad::Restore()
{
    EachLive(game_->poolBullet, [this](CMobTask* t, int i) {
        const Spot& s = playerShots_[static_cast<size_t>(i % kPlayerShots)];
        t->x = s.x;
        t->y = s.y;
    });
    EachLive(game_->poolEnemyBullet, [this](CMobTask* t, int i) {
        const Spot& s = enemyShots_[static_cast<size_t>(i % kEnemyShots)];
        t->x = s.x;
        t->y = s.y;
    });
    game_->bossActive = true;
    game_->playerAlive = true;
    if (Live(game_->poolPlayer) == 0) new CPlayer(kShipX, kShipY);
    TopUpEnemies();
    TopUpShots();
}

int WorstCaseLoad::PlayerShots() const
{
    return Live(game_->poolBullet);
}

int WorstCaseLoad::EnemyShots() const
{
    return Live(game_->poolEnemyBullet);
}

int WorstCaseLoad::Enemies() const
{
    return Live(game_->poolEnemyZako) + Live(game_->poolEnemyShot) + Live(game_->poolEnemyStrong);
}

int WorstCaseLoad::Bosses() const
{
    return Live(game_->poolBoss1);
}

int WorstCaseLoad::Satellites() const
{
    return Live(game_->poolBulletS);
}

}  // namespace bench
