#include "game/CBullet.h"

#include <cmath>

#include "app/CQovGame.h"
#include "gfx/CTexture.h"
#include "task/TaskPool.h"

ZEN_TASK_ALLOCATION_IMPL(CBullet, poolBullet)

namespace {

// 80 and 100 degrees, converted with pi taken as 3.14.
constexpr float kAngleRight = 1.3955556f;
constexpr float kAngleLeft = 1.7444446f;

// Every pool in it holds only moving objects.
bool HitsAny(const CMobTask* shot, TaskPool* pool)
{
    TaskIter it(pool);
    while (it.HasNext()) {
        if (shot->HitTest(static_cast<CMobTask*>(it.Next()))) return true;
    }
    return false;
}

}  // namespace

CBullet::CBullet(float x0, float y0, float w, float h, int kind_)
    : CMobTask(g_game->poolBullet, x0, y0, 4.0f, 4.0f, 12.0f, 12.0f), kind(kind_)
{
    x = x0 - 8.0f + w / 2.0f;
    y = y0 - 8.0f + h / 2.0f;
}

bool CBullet::Update()
{
    CQovGame* game = g_game;
    TaskPool* const targets[] = {game->poolEnemyZako, game->poolEnemyShot, game->poolEnemyStrong, game->poolBoss1,
                                 game->poolBoss2};
    for (TaskPool* pool : targets) {
        if (HitsAny(this, pool)) {
            game->PlaySE(game->seHit);
            return false;
        }
    }

    switch (kind) {
    case 0:
        y -= speed;
        break;
    case 1:
        x += std::cos(kAngleRight) * speed;
        y -= std::sin(kAngleRight) * speed;
        break;
    case 2:
        x += std::cos(kAngleLeft) * speed;
        y -= std::sin(kAngleLeft) * speed;
        break;
    default:
        break;
    }
    // The whole screen with a margin, not the play field: a shot drifting right lives on past x 600.
    return !(x < -16.0f || x > 816.0f || y < -16.0f || y > 616.0f);
}

void CBullet::Draw()
{
    if (CTexture* tex = g_game->texBullet) tex->Draw(x, y, 0xFFFFFFFFu);
}
