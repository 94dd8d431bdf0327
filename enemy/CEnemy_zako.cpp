#include "enemy/CEnemy_zako.h"

#include "app/CQovGame.h"
#include "task/TaskPool.h"

ZEN_TASK_ALLOCATION_IMPL(CEnemy_zako, poolEnemyZako)

CEnemy_zako::CEnemy_zako(int hp_, float x_, float y_, float speedX_, float speedY_, int duration_, int pattern_)
    : CEnemy(g_game->poolEnemyZako, hp_, x_, y_, speedX_, speedY_, duration_, pattern_)
{
}

CTexture* CEnemy_zako::Sprite() const
{
    return g_game->texPhenix;
}
