#include "game/CPlayer.h"

#include "app/CQovGame.h"
#include "game/CBullet.h"
#include "game/CBullet_s.h"
#include "game/CEffect_Fade.h"
#include "gfx/CTexture.h"
#include "task/TaskPool.h"

ZEN_TASK_ALLOCATION_IMPL(CPlayer, poolPlayer)

CPlayer::CPlayer(float startX, float startY)
    : CMobTask(g_game->poolPlayer, startX, startY, 14.0f, 14.0f, 18.0f, 18.0f),
      posX(startX - 16.0f),
      posY(startY - 16.0f)
{
    g_game->playerAlive = true;
}

bool CPlayer::Update()
{
    CQovGame* game = g_game;
    if (game->GetIs(0, KEY_SLOW)) {
        speed = speed / 5.0f;
        slowActive = 1;
    }
    // Bounds are tested before each step, so the sprite may end one step beyond them.
    if (game->GetIs(0, KEY_DOWN) && posY < 568.0f) posY += speed;
    if (game->GetIs(0, KEY_RIGHT) && posX < 568.0f) posX += speed;
    if (game->GetIs(0, KEY_LEFT) && posX > 0.0f) posX -= speed;
    if (game->GetIs(0, KEY_UP) && posY > 0.0f) posY -= speed;
    if (slowActive == 1) {
        speed = speed * 5.0f;
        slowActive = 0;
    }

    if (game->GetIs(0, KEY_SHOT)) {
        new CBullet(posX, posY, 32.0f, 32.0f, 0);
        game->PlaySE(game->seBullet);
    }
    if (game->score >= 500) new CBullet_s();

    x = posX;
    y = posY;
    game->playerX = x;
    game->playerY = y;

    if (energy <= 0) {
        ++deathCount;
        new CEffect_Fade();
    }
    if (deathCount > 0) ++deathCount;
    if (deathCount > 60) {
        game->playerAlive = false;
        game->sceneState = SCENE_GAME_OVER;
        return false;
    }
    return game->playerAlive;
}

void CPlayer::Draw()
{
    if (CTexture* tex = g_game->texPlayer) tex->Draw(posX, posY, 0xFFFFFFFFu);
    // The bar would be mirrored below 2 energy; nothing is drawn then.
    const int span = energy / 2;
    if (CTexture* tex = g_game->texHP; tex && span > 0)
        tex->DrawEx(x, y, 1.0f, 5.0f, 0.0f, 0.0f, static_cast<float>(span), 1.0f, 0xFF80C880u);
}
