#include "enemy/CEnemy_shot.h"

#include "app/CQovGame.h"
#include "task/TaskPool.h"

ZEN_TASK_ALLOCATION_IMPL(CEnemy_shot, poolEnemyShot)

CEnemy_shot::CEnemy_shot(int hp_, float x_, float y_, float speedX_, float speedY_, int duration_, int pattern_)
    : CEnemy(g_game->poolEnemyShot, hp_, x_, y_, speedX_, speedY_, duration_, pattern_)
{
}

CTexture* CEnemy_shot::Sprite() const
{
    return g_game->texGargoyle;
}

void CEnemy_shot::Fire()
{
    if (age % 2 == 0 && holding == 1) FirePattern(drawX, drawY, 90.0f, 2.0f, 2.0f, 6);
}
