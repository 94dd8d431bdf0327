// The automatic player: it only presses keys, reads where things are as a player looks at the screen,
// and steers to dodge and aim.
#pragma once
#include <cmath>
#include <unordered_map>
#include <utility>
#include <vector>

#include "app/CQovGame.h"
#include "enemy/CBoss.h"
#include "enemy/CEnemy.h"
#include "enemy/CEnemy_bullet.h"
#include "game/CPlayer.h"
#include "platform/HeadlessPlatform.h"
#include "task/TaskPool.h"

namespace autoplay {

constexpr int kUp = 0x1F;      // S
constexpr int kDown = 0x2D;    // X
constexpr int kLeft = 0x2C;    // Z
constexpr int kRight = 0x2E;   // C
constexpr int kSlow = 0x2F;    // V
constexpr int kDecide = 0x21;  // F: shot and menu decide

struct Threat {
    float x, y;    // centre now
    float vx, vy;  // per update
    float half;    // half the box size
    int wait;      // updates before it starts moving (hanging shots)
    // Orbiting shots: centre, radius and angle step.
    bool orbit;
    float cx, cy, radius, angle, turn;

    void At(int f, float& ox, float& oy) const
    {
        if (orbit) {
            const double a = (angle + turn * (f - 1)) * 3.14 / 180.0;
            const double r = radius + (f - 1);
            ox = static_cast<float>(cx + std::cos(a) * r) + 8.0f;
            oy = static_cast<float>(cy + std::sin(a) * r) + 8.0f;
            return;
        }
        const int moving = f > wait ? f - wait : 0;
        ox = x + vx * moving;
        oy = y + vy * moving;
    }
};

class AutoPilot {
public:
    AutoPilot(CQovGame* game, headless::HeadlessPlatform* h) : game_(game), h_(h) {}

    void Steer()
    {
        CPlayer* p = First<CPlayer>(game_->poolPlayer);
        Release();
        if (!p || game_->sceneState < 4) return;
        h_->input.SetKey(kDecide, true);
        Gather(p);

        static const int dirs[9][2] = {{0, 0}, {1, 0}, {-1, 0}, {0, 1}, {0, -1}, {1, 1}, {1, -1}, {-1, 1}, {-1, -1}};
        double best = 1e300;
        int bestDir = 0;
        bool bestSlow = false;
        const float targetX = AimX(p);
        for (int slow = 0; slow < 2; ++slow) {
            for (int d = 0; d < 9; ++d) {
                if (slow && d == 0) continue;
                const double cost = Cost(p, dirs[d][0], dirs[d][1], slow ? 1.0f : 5.0f, targetX);
                if (cost < best) {
                    best = cost;
                    bestDir = d;
                    bestSlow = slow;
                }
            }
        }
        if (dirs[bestDir][0] > 0) h_->input.SetKey(kRight, true);
        if (dirs[bestDir][0] < 0) h_->input.SetKey(kLeft, true);
        if (dirs[bestDir][1] > 0) h_->input.SetKey(kDown, true);
        if (dirs[bestDir][1] < 0) h_->input.SetKey(kUp, true);
        if (bestSlow) h_->input.SetKey(kSlow, true);
    }

    void Release()
    {
        for (int k : {kUp, kDown, kLeft, kRight, kSlow, kDecide}) h_->input.SetKey(k, false);
    }

private:
    template <class T>
    static T* First(TaskPool* pool)
    {
        TaskIter it(pool);
        return it.HasNext() ? static_cast<T*>(it.Next()) : nullptr;
    }

    void Gather(CPlayer* p)
    {
        threats_.clear();
        const float px = p->posX + 16.0f, py = p->posY + 16.0f;
        auto near = [&](float x, float y, float reach) { return std::fabs(x - px) < reach && std::fabs(y - py) < reach; };
        TaskIter shots(game_->poolEnemyBullet);
        while (shots.HasNext()) {
            auto* s = static_cast<CEnemy_bullet*>(shots.Next());
            Threat t{s->x + 8.0f, s->y + 8.0f, 0, 0, 4.0f, 0, false, 0, 0, 0, 0, 0};
            if (!near(t.x, t.y, 260.0f)) continue;
            const double deg = s->angle * 3.14 / 180.0;
            switch (s->kind) {
            case 0: t.vy = s->speedY; break;
            case 1:
            case 10:
                t.vx = static_cast<float>(std::cos(deg) * s->speedX);
                t.vy = static_cast<float>(std::sin(deg) * s->speedY);
                break;
            case 2:
            case 3:
            case 5:
            case 6: {
                double a = s->angle;
                if (s->firstFrame && s->kind != 6) {
                    a = std::atan2(game_->playerY - s->y, game_->playerX - s->x);
                    if (s->kind == 3) a += deg;
                }
                t.vx = static_cast<float>(std::cos(a) * s->speedX);
                t.vy = static_cast<float>(std::sin(a) * s->speedY);
                if (s->kind == 6) t.wait = s->age > 200 ? 0 : 200 - s->age;
                break;
            }
            case 8:
            case 9:
                t.orbit = true;
                t.cx = game_->bossX;
                t.cy = game_->bossY;
                t.radius = s->radius;
                t.angle = s->angle;
                t.turn = s->kind == 8 ? 2.0f : -2.0f;
                break;
            default: break;
            }
            threats_.push_back(t);
        }
        for (TaskPool* pool : {game_->poolEnemyZako, game_->poolEnemyShot, game_->poolEnemyStrong}) {
            TaskIter it(pool);
            while (it.HasNext()) {
                auto* e = static_cast<CEnemy*>(it.Next());
                Threat t{e->drawX + 16.0f, e->drawY + 16.0f, 0, 0, 17.0f, 0, false, 0, 0, 0, 0, 0};
                Velocity(e, t);
                if (near(t.x, t.y, 300.0f)) threats_.push_back(t);
            }
        }
        for (TaskPool* pool : {game_->poolBoss1, game_->poolBoss2}) {
            TaskIter it(pool);
            while (it.HasNext()) {
                auto* b = static_cast<CBoss*>(it.Next());
                Threat t{b->x + 48.0f, b->y + 48.0f, 0, 0, 50.0f, 0, false, 0, 0, 0, 0, 0};
                Velocity(b, t);
                threats_.push_back(t);
            }
        }
    }

    void Velocity(const void* key, Threat& t)
    {
        auto found = last_.find(key);
        if (found != last_.end() && std::fabs(found->second.first - t.x) < 12.0f &&
            std::fabs(found->second.second - t.y) < 12.0f) {
            t.vx = t.x - found->second.first;
            t.vy = t.y - found->second.second;
        }
        last_[key] = {t.x, t.y};
    }

    // Where to line up: under the boss, else under the lowest enemy above the ship.
    float AimX(CPlayer* p)
    {
        for (TaskPool* pool : {game_->poolBoss1, game_->poolBoss2}) {
            if (CBoss* b = First<CBoss>(pool)) return b->x + 48.0f;
        }
        float best = -1.0f, bestY = -1e9f;
        for (TaskPool* pool : {game_->poolEnemyZako, game_->poolEnemyShot, game_->poolEnemyStrong}) {
            TaskIter it(pool);
            while (it.HasNext()) {
                auto* e = static_cast<CEnemy*>(it.Next());
                if (e->drawY + 32.0f < p->posY - 40.0f && e->drawY > bestY && e->drawX > -8.0f && e->drawX < 576.0f) {
                    bestY = e->drawY;
                    best = e->drawX + 16.0f;
                }
            }
        }
        return best < 0.0f ? 300.0f : best;
    }

    double Cost(CPlayer* p, int dx, int dy, float speed, float targetX) const
    {
        constexpr int kLook = 18;
        float x = p->posX, y = p->posY;
        double cost = 0.0;
        for (int f = 1; f <= kLook; ++f) {
            // The ship's own rule: bounds are tested before each step.
            if (dy > 0 && y < 568.0f) y += speed;
            if (dx > 0 && x < 568.0f) x += speed;
            if (dx < 0 && x > 0.0f) x -= speed;
            if (dy < 0 && y > 0.0f) y -= speed;
            const float cx = x + 16.0f, cy = y + 16.0f;
            for (const Threat& t : threats_) {
                float tx, ty;
                t.At(f, tx, ty);
                const float reach = t.half + 2.0f + 4.0f;
                const float ex = std::fabs(tx - cx), ey = std::fabs(ty - cy);
                if (ex < reach && ey < reach) cost += 10000.0 / f;
                else if (ex < reach + 10.0f && ey < reach + 10.0f) cost += 40.0 / f;
            }
        }
        const float cx = x + 16.0f, cy = y + 16.0f;
        cost += std::fabs(cx - targetX) * 0.6;
        cost += std::fabs(cy - 470.0f) * 0.15;
        if (cx < 40.0f || cx > 560.0f) cost += 30.0;
        return cost;
    }

    CQovGame* game_;
    headless::HeadlessPlatform* h_;
    std::vector<Threat> threats_;
    std::unordered_map<const void*, std::pair<float, float>> last_;
};

}  // namespace autoplay
