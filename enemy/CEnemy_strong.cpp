#include "enemy/CEnemy_strong.h"

#include "app/CQovGame.h"
#include "task/TaskPool.h"

ZEN_TASK_ALLOCATION_IMPL(CEnemy_strong, poolEnemyStrong)

CEnemy_strong::CEnemy_strong(int hp_, float x_, float y_, float speedX_, float speedY_, int duration_, int pattern_)
    : CEnemy(g_game->poolEnemyStrong, hp_, x_, y_, speedX_, speedY_, duration_, pattern_)
{
}

CTexture* CEnemy_strong::Sprite() const
{
    return g_game->texAmphisbaena;
}

void CEnemy_strong::Fire()
{
    if (age % 20 != 0) return;
    if (holding == 1 && pattern == 11) FirePattern(drawX, drawY, 90.0f, 2.0f, 2.0f, 4);
    if (pattern == 14) FirePattern(drawX, drawY, 90.0f, 2.0f, 2.0f, 3);
    if (pattern == 15) FirePattern(drawX, drawY, 90.0f, 2.0f, 2.0f, 3);
}
