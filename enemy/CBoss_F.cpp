#include "enemy/CBoss_F.h"

#include "app/CQovGame.h"
#include "gfx/CTexture.h"
#include "task/TaskPool.h"

ZEN_TASK_ALLOCATION_IMPL(CBoss_F, poolBossF)

CBoss_F::CBoss_F(int hp_, float x_, float y_, float speedX_, float speedY_, int duration_)
    : CBoss_2(g_game->poolBossF, hp_, x_, y_, speedX_, speedY_, duration_)
{
}

void CBoss_F::Draw()
{
    if (CTexture* tex = g_game->texBossFinal) tex->Draw(x, y, 0xFFFFFFFFu);
    g_game->DrawNumber(hp, static_cast<int>(x), static_cast<int>(y - 20.0f));
}
