#include "enemy/CBoss.h"

#include "app/CQovGame.h"
#include "enemy/EnemyContact.h"
#include "game/CEffect_Fade.h"
#include "gfx/CTexture.h"
#include "task/TaskPool.h"

CBoss::CBoss(TaskPool* pool, int hp_, float x_, float y_, float speedX_, float speedY_, int duration_)
    : CMobTask(pool, x_, y_, 0.0f, 0.0f, 96.0f, 96.0f),
      speedX(speedX_),
      speedY(speedY_),
      hp(hp_),
      duration(duration_),
      maxHp(hp_)
{
    x = x_ - 48.0f;
    y = y_ - 48.0f;
    g_game->bossX = x;
    g_game->bossY = y;
    g_game->bossActive = true;
}

void CBoss::PublishReference()
{
    g_game->bossX = x;
    g_game->bossY = y;
}

bool CBoss::Update()
{
    CQovGame* game = g_game;
    hp = LoseHitPoints(hp, CountShotHits(*this));
    HurtTouchingPlayers(*this, 1);
    if (game->sceneState == SCENE_GAME_OVER) return false;

    BossMove();
    BossAttack(attack, age);

    if (hp <= 0) {
        game->AddScore(DeathScore());
        ++deathTimer;
        new CEffect_Fade();
    }
    if (deathTimer > 0) ++deathTimer;
    if (deathTimer > 60) {
        game->sceneState = NextScene();
        game->spawnFrame = 0;
        game->readNextRow = true;
        game->bossActive = false;
        if (EndsFlight()) game->playerAlive = false;
        return false;
    }
    PublishReference();
    if (age < 0x7FFFFFFF) ++age;
    return true;
}

void CBoss::DrawHpBar() const
{
    const int units = hp / 3;
    if (CTexture* bar = g_game->texHP; bar && units > 0)
        bar->DrawEx(10.0f, 10.0f, 1.0f, 15.0f, 0.0f, 0.0f, static_cast<float>(units), 1.0f, 0xFF80C880u);
}
