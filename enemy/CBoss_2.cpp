#include "enemy/CBoss_2.h"

#include <cmath>

#include "app/CQovGame.h"
#include "enemy/CEnemy_bullet.h"
#include "gfx/CTexture.h"
#include "task/TaskPool.h"

ZEN_TASK_ALLOCATION_IMPL(CBoss_2, poolBoss2)

namespace {

constexpr double kPi = 3.14;

double Radians(float degrees)
{
    return degrees * kPi / 180.0;
}

}  // namespace

CBoss_2::CBoss_2(int hp_, float x_, float y_, float speedX_, float speedY_, int duration_)
    : CBoss(g_game->poolBoss2, hp_, x_, y_, speedX_, speedY_, duration_)
{
}

CBoss_2::CBoss_2(TaskPool* pool, int hp_, float x_, float y_, float speedX_, float speedY_, int duration_)
    : CBoss(pool, hp_, x_, y_, speedX_, speedY_, duration_)
{
}

void CBoss_2::BossMove()
{
    switch (phase) {
    case 0:
        if (age < duration && y < 100.0f) {
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
            attack = 2;
            spin = 0.0f;
            anchorX1 = x;
            anchorX2 = x;
            anchorY = y;
        }
        break;
    case 2:
        if (Below(0.4f)) {
            age = 0;
            phase = 3;
            attack = 3;
            spin = 0.0f;
        }
        break;
    default:
        break;
    }
}

void CBoss_2::BossAttack(int attack_, int t)
{
    switch (attack_) {
    case 1:
        if (t % 50 == 49) {
            new CEnemy_bullet(x, y, 0.0f, 3.0f, 3.0f, 96.0f, 96.0f, 2);
            for (float base : {-90.0f, 0.0f, 90.0f}) {
                for (float offset : {10.0f, -10.0f, 15.0f, -15.0f})
                    new CEnemy_bullet(x, y, base + offset, 3.0f, 3.0f, 96.0f, 96.0f, 3);
            }
            for (int i = 0; i < 24; ++i) {
                const float b = 15.0f * i;
                const float px = static_cast<float>(x + 100.0 * std::cos(Radians(b)));
                const float py = static_cast<float>(y + 100.0 * std::sin(Radians(b)));
                new CEnemy_bullet(px, py, b + 5.0f, 4.0f, 4.0f, 96.0f, 96.0f, 1);
                new CEnemy_bullet(px, py, b - 5.0f, 4.0f, 4.0f, 96.0f, 96.0f, 1);
            }
        }
        break;
    case 2: {
        const float cx = static_cast<float>(30.0 * std::cos(Radians(spin)));
        const float cy = static_cast<float>(30.0 * std::sin(Radians(spin)));
        new CEnemy_bullet(anchorX1 + cx, anchorY + cy, spin, 5.0f, 5.0f, 96.0f, 96.0f, 6);
        new CEnemy_bullet(anchorX2 + cx, anchorY + cy, spin, 5.0f, 5.0f, 96.0f, 96.0f, 6);
        spin += 15.0f;
        anchorY += 3.0f;
        anchorX2 -= 3.0f;
        anchorX1 += 3.0f;
        if ((anchorX1 > 600.0f || anchorX2 < -16.0f || anchorY > 600.0f) && t > 350) {
            anchorX1 = x;
            anchorX2 = x;
            anchorY = y;
            age = 0;
        }
        break;
    }
    case 3:
        if (t % 300 == 0) {
            for (int i = 0; i < 24; ++i)
                new CEnemy_bullet(x, y, spin + 15.0f * i, 4.0f, 4.0f, 96.0f, 96.0f, 10);
        }
        spin += 7.0f;
        break;
    default:
        break;
    }
}

void CBoss_2::Draw()
{
    if (CTexture* tex = g_game->texBossDragon) tex->Draw(x, y, 0xFFC88080u);
    DrawHpBar();
}
