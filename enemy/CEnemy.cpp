#include "enemy/CEnemy.h"

#include <cmath>

#include "app/CQovGame.h"
#include "enemy/CEnemy_bullet.h"
#include "enemy/EnemyContact.h"
#include "gfx/CTexture.h"
#include "task/TaskPool.h"

namespace {

constexpr double kPi = 3.14;

double Radians(float degrees)
{
    return degrees * kPi / 180.0;
}

}  // namespace

CEnemy::CEnemy(TaskPool* pool, int hp_, float x_, float y_, float speedX_, float speedY_, int duration_,
               int pattern_)
    : CMobTask(pool, x_, y_, 0.0f, 0.0f, 32.0f, 32.0f),
      drawX(x_ - 16.0f),
      drawY(y_ - 16.0f),
      speedX(speedX_),
      speedY(speedY_),
      hp(hp_),
      pattern(pattern_),
      duration(duration_)
{
}

int CEnemy::MovePattern(float& drawX, float& drawY, float& wave, float speedX, float speedY, int age,
                        int duration, int pattern)
{
    const int t = age;
    const int d = duration;
    const double h = d / 2.0;
    const double q = d / 0.25;
    switch (pattern) {
    case 0:
        drawY += speedY;
        return 0;
    case 1:
    case 2:
    case 3:
        if (t < h && drawY < 300.0f) {
            drawY += speedY;
        } else if (t >= h && t < d) {
            return 1;
        } else if (t >= d) {
            if (pattern == 1) {
                drawY -= speedY;
            } else {
                drawX += pattern == 2 ? -speedX : speedX;
                drawY += speedY;
            }
        }
        return 0;
    case 4:
        if (t < q && drawY < 300.0f) {
            drawY += 2.0f * speedY;
        } else if (t >= d) {
            drawX -= speedX;
            drawY += speedY;
        }
        return 0;
    case 5:
        if (t < q && drawY < 300.0f) {
            drawY += speedY;
        } else if (t >= d) {
            drawX += speedX;
            drawY += speedY;
        }
        return 0;
    case 6:
    case 7:
        if (t < q && drawY < 300.0f) {
            drawY += speedY;
        } else if (t >= d) {
            drawX += pattern == 6 ? -speedX : speedX;
            drawY -= static_cast<float>(speedY * std::sin(Radians(wave)));
            wave += 0.5f;
        }
        return 0;
    case 8:
        drawX += static_cast<float>(std::cos(Radians(wave)) * speedX);
        drawY += speedY;
        wave += 5.0f;
        return 0;
    case 9:
    case 10:
        if (t < d) {
            drawX += pattern == 9 ? speedX : -speedX;
            drawY -= static_cast<float>(1.5 * speedY * std::sin(Radians(wave)));
            wave += 1.0f;
        }
        return 0;
    case 11:
        if (t < d && drawY < 300.0f) {
            drawY += speedY;
            return 0;
        }
        return 1;
    case 12:
        if (t < d && drawX < 250.0f) {
            drawX += speedX;
            drawY -= speedY;
            return 0;
        }
        return 1;
    case 13:
        if (t < d && drawX > 300.0f) {
            drawX -= speedX;
            drawY -= speedY;
            return 0;
        }
        return 1;
    case 14:
        drawX += speedX;
        drawY += speedY;
        return 0;
    case 15:
        drawX -= speedX;
        drawY += speedY;
        return 0;
    default:
        return 0;
    }
}

void CEnemy::FirePattern(float x_, float y_, float angle, float speedX_, float speedY_, int firePattern)
{
    switch (firePattern) {
    case 3:
        new CEnemy_bullet(x_, y_, -10.0f, speedX_, speedY_, 32.0f, 32.0f, 3);
        new CEnemy_bullet(x_, y_, 10.0f, speedX_, speedY_, 32.0f, 32.0f, 3);
        break;
    case 4:
        new CEnemy_bullet(x_, y_, angle, speedX_, speedY_, 32.0f, 32.0f, 2);
        new CEnemy_bullet(x_, y_, -10.0f, speedX_, speedY_, 32.0f, 32.0f, 3);
        new CEnemy_bullet(x_, y_, 10.0f, speedX_, speedY_, 32.0f, 32.0f, 3);
        break;
    case 6:
        new CEnemy_bullet(x_, y_, angle, speedX_, speedY_, 32.0f, 32.0f, 5);
        break;
    default:
        break;
    }
}

bool CEnemy::Update()
{
    CQovGame* game = g_game;
    hp = LoseHitPoints(hp, CountShotHits(*this));
    HurtTouchingPlayers(*this, 1);
    if (!game->playerAlive) return false;

    holding = MovePattern(drawX, drawY, wave, speedX, speedY, age, duration, pattern);
    Fire();

    if (hp <= 0) {
        game->AddScore(Score());
        return false;
    }
    // The previous update's position decides; written so that a position lost to NaN also leaves.
    if (!(y <= 600.0f && y >= -32.0f && x >= -32.0f && x <= 600.0f)) return false;
    x = drawX;
    y = drawY;
    if (age < 0x7FFFFFFF) ++age;
    return true;
}

void CEnemy::Draw()
{
    if (CTexture* tex = Sprite()) tex->Draw(drawX, drawY, 0xFFFFFFFFu);
    // An empty bar (fewer units than one) is not drawn at all.
    const int units = BarUnits();
    if (CTexture* bar = g_game->texHP; bar && units > 0)
        bar->DrawEx(drawX, drawY, 1.0f, 5.0f, 0.0f, 0.0f, static_cast<float>(units), 1.0f, 0xFF80C880u);
}
