#include "enemy/CEnemy_bullet.h"

#include <cmath>
#include <cstdlib>

#include "app/CQovGame.h"
#include "game/CPlayer.h"
#include "gfx/CTexture.h"
#include "task/TaskPool.h"

ZEN_TASK_ALLOCATION_IMPL(CEnemy_bullet, poolEnemyBullet)

namespace {

constexpr double kPi = 3.14;

double Radians(float degrees)
{
    return degrees * kPi / 180.0;
}

}  // namespace

CEnemy_bullet::CEnemy_bullet(float x_, float y_, float angle_, float speedX_, float speedY_, float w, float h,
                             int kind_)
    : CMobTask(g_game->poolEnemyBullet, x_ + w / 2 - 8, y_ + h / 2 - 8, 4.0f, 4.0f, 12.0f, 12.0f),
      speedX(speedX_),
      speedY(speedY_),
      angle(angle_),
      kind(kind_)
{
    g_game->PlaySE(g_game->seEnemyBullet);
}

CEnemy_bullet::CEnemy_bullet(float x_, float y_, float radius_, float angle_, float w, float h, int kind_)
    : CMobTask(g_game->poolEnemyBullet, x_ + w / 2 - 8, y_ + h / 2 - 8, 4.0f, 4.0f, 12.0f, 12.0f),
      angle(angle_),
      kind(kind_),
      radius(radius_)
{
}

void CEnemy_bullet::Aim()
{
    angle = static_cast<float>(std::atan2(g_game->playerY - y, g_game->playerX - x));
}

void CEnemy_bullet::Step()
{
    x += static_cast<float>(std::cos(angle) * speedX);
    y += static_cast<float>(std::sin(angle) * speedY);
}

void CEnemy_bullet::Bounce()
{
    // The integer part of the angle modulo 360, keeping the sign of the angle.
    auto k = [this] { return std::fmod(std::trunc(static_cast<double>(angle)), 360.0); };
    if (x > 600.0f) angle = k() <= 180.0 ? 360.0f - angle : 540.0f - angle;
    if (x < 0.0f) angle = k() <= 180.0 ? 180.0f - angle : 540.0f - angle;
    if (y > 600.0f) angle = 360.0f - angle;
    if (y < 0.0f) angle = 360.0f - angle;
}

void CEnemy_bullet::Move()
{
    CQovGame* game = g_game;
    switch (kind) {
    case 0:
        y += speedY;
        break;
    case 1:
        x += static_cast<float>(std::cos(Radians(angle)) * speedX);
        y += static_cast<float>(std::sin(Radians(angle)) * speedY);
        break;
    case 2:
        if (firstFrame) {
            Aim();
            firstFrame = false;
        }
        Step();
        break;
    case 3:
        if (firstFrame) {
            const double offset = Radians(angle);
            Aim();
            angle = static_cast<float>(offset + angle);
            firstFrame = false;
        }
        Step();
        break;
    case 5:
        if (firstFrame) {
            Aim();
            spread = static_cast<float>((std::rand() % 45) * kPi / 180.0);
            if (std::rand() % 2 == 0) spread = -spread;
            angle += spread;
            firstFrame = false;
        }
        Step();
        break;
    case 6:
        // Hangs where it was laid, then leaves taking its angle as radians as it stands.
        if (age > 200) Step();
        break;
    case 8:
    case 9:
        x = static_cast<float>(game->bossX + std::cos(Radians(angle)) * radius);
        y = static_cast<float>(game->bossY + std::sin(Radians(angle)) * radius);
        radius += 1.0f;
        angle += kind == 8 ? 2.0f : -2.0f;
        break;
    case 10:
        Bounce();
        x += static_cast<float>(std::cos(Radians(angle)) * speedX);
        y += static_cast<float>(std::sin(Radians(angle)) * speedY);
        break;
    default:
        break;
    }
}

bool CEnemy_bullet::Update()
{
    CQovGame* game = g_game;
    TaskIter it(game->poolPlayer);
    while (it.HasNext()) {
        CPlayer* player = static_cast<CPlayer*>(it.Next());
        if (HitTest(player)) {
            player->energy -= 10;
            game->PlaySE(game->seHit);
            return false;
        }
    }
    if (game->sceneState == SCENE_GAME_OVER) return false;

    Move();
    ++age;
    if ((kind == 8 || kind == 9 || kind == 10) && age > 1000) return false;
    // Written so that a position lost to NaN counts as outside.
    const bool inside = x >= -16.0f && x <= 616.0f && y >= -16.0f && y <= 616.0f;
    if (!inside && kind != 8 && kind != 9) return false;
    return game->bossActive;
}

void CEnemy_bullet::Draw()
{
    if (CTexture* tex = g_game->texEnemyBullet) tex->Draw(x, y, 0xFF0030FFu);
}
