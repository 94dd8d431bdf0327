#include "game/CBullet_s.h"

#include "app/CQovGame.h"
#include "game/CBullet.h"
#include "gfx/CTexture.h"
#include "task/TaskPool.h"

ZEN_TASK_ALLOCATION_IMPL(CBullet_s, poolBulletS)

CBullet_s::CBullet_s()
    : CTask(g_game->poolBulletS), x(g_game->playerX - 8.0f + 16.0f), y(g_game->playerY - 8.0f + 16.0f)
{
}

bool CBullet_s::Update()
{
    CQovGame* game = g_game;
    // The player has already published its position this frame.
    x = game->playerX - 8.0f + 16.0f;
    y = game->playerY - 8.0f + 16.0f;
    if (game->GetIs(0, KEY_SHOT)) {
        new CBullet(x + 15.0f, y + 25.0f, 16.0f, 16.0f, 1);
        new CBullet(x - 15.0f, y + 25.0f, 16.0f, 16.0f, 2);
        game->PlaySE(game->seBullet);
    }
    return game->playerAlive;
}

void CBullet_s::Draw()
{
    CTexture* tex = g_game->texBulletS;
    if (!tex) return;
    tex->Draw(x - 15.0f, y + 25.0f, 0x80000000u);
    tex->Draw(x + 15.0f, y + 25.0f, 0x80000000u);
}
