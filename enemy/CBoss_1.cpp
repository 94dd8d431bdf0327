#include "enemy/CBoss_1.h"

#include "app/CQovGame.h"
#include "enemy/CEnemy_bullet.h"
#include "gfx/CTexture.h"
#include "task/TaskPool.h"

ZEN_TASK_ALLOCATION_IMPL(CBoss_1, poolBoss1)

CBoss_1::CBoss_1(int hp_, float x_, float y_, float speedX_, float speedY_, int duration_)
    : CBoss(g_game->poolBoss1, hp_, x_, y_, speedX_, speedY_, duration_)
{
}

void CBoss_1::PublishReference()
{
    g_game->bossX = x + 48.0f;
    g_game->bossY = y + 48.0f;
}

void CBoss_1::BossMove()
{
    const int t = age;
    const int d = duration;
    switch (phase) {
    case 0:
        if (t < d && y < 100.0f) {
            y += speedY;
        } else {
            age = 0;
            phase = 1;
            attack = 1;
        }
        break;
    case 1:
        if (Below(0.7f)) {
            age = 0;
            phase = 2;
        }
        break;
    case 2:
        if (t < d && x > 0.0f && y > 0.0f) {
            x -= 3.0f * speedX;
            y -= speedY;
        } else {
            phase = 3;
        }
        break;
    case 3:
        if (t < d && y < 100.0f) {
            x += 0.5f * speedX;
            y += speedY;
        } else {
            spin = 0.0f;
            age = 0;
            phase = 4;
            attack = 2;
        }
        break;
    case 4:
        if (Below(0.4f)) {
            attack = 3;
            phase = 5;
        }
        break;
    default:
        break;
    }
}

void CBoss_1::BossAttack(int attack_, int t)
{
    switch (attack_) {
    case 1:
        if (t % 30 == 29) {
            for (int i = 0; i < 10; ++i)
                new CEnemy_bullet(60.0f * i + rowOffset, y, 90.0f, 2.0f, 2.0f, 96.0f, 96.0f, 0);
        }
        if (t % 20 == 19) {
            for (int i = 0; i < 12; ++i)
                new CEnemy_bullet(x, y, spin + 30.0f * i, 3.0f, 3.0f, 96.0f, 96.0f, 1);
        }
        if (t % 200 == 99) rowOffset = 30.0f;
        if (t % 200 == 199) {
            rowOffset = 0.0f;
            spin += 5.3f;
        }
        break;
    case 2:
        if (t % 15 == 14) {
            for (int i = 0; i < 4; ++i)
                new CEnemy_bullet(x, y, spin + 90.0f * i, 5.0f, 5.0f, 96.0f, 96.0f, 1);
        }
        if (t % 30 == 29) new CEnemy_bullet(x, y, 0.0f, 3.0f, 3.0f, 96.0f, 96.0f, 2);
        spin += 2.3f;
        break;
    case 3:
        if (t % 150 == 74) {
            for (int i = 0; i < 12; ++i) new CEnemy_bullet(x, y, 10.0f, 30.0f * i, 96.0f, 96.0f, 9);
        }
        if (t % 150 == 149) {
            for (int i = 0; i < 12; ++i) new CEnemy_bullet(x, y, 10.0f, 30.0f * i, 96.0f, 96.0f, 8);
        }
        break;
    default:
        break;
    }
}

void CBoss_1::Draw()
{
    if (CTexture* tex = g_game->texBossDragon) tex->Draw(x, y, 0xFFFFFFFFu);
    DrawHpBar();
}
