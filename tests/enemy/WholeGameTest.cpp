// The shipped stages played from the title to the return to the title by an automatic player that only
// presses keys: it reads where things are, as a player looks at the screen, and steers to dodge and aim.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <unordered_map>
#include <vector>

#include "app/CQovGame.h"
#include "app/Entry.h"
#include "enemy/CBoss.h"
#include "enemy/CEnemy.h"
#include "enemy/CEnemy_bullet.h"
#include "game/CPlayer.h"
#include "platform/headless/HeadlessPlatform.h"
#include "task/TaskPool.h"

namespace {

constexpr int kUp = 0x1F;      // S
constexpr int kDown = 0x2D;    // X
constexpr int kLeft = 0x2C;    // Z
constexpr int kRight = 0x2E;   // C
constexpr int kSlow = 0x2F;    // V
constexpr int kDecide = 0x21;  // F: shot and menu decide

std::string Backslashed(std::string path)
{
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

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

struct GameRecord {
    std::vector<int> scenes;
    int frames = 0, stage1Frames = 0, boss1At = 0, boss2At = 0, lowestEnergy = 100, score = 0, scoreAtStart = -1;
    int stage1Shots = 0;  // most enemy shots in flight at once before boss 1
};

// From the title, Game_Start by a one-frame decide, then the automatic player until play ends.
GameRecord PlayOneGame(CQovGame* game, headless::HeadlessPlatform& h, AutoPilot& pilot)
{
    GameRecord r;
    r.scenes.push_back(game->sceneState);
    game->Update();
    h.input.SetKey(kDecide, true);
    game->Update();
    h.input.SetKey(kDecide, false);

    while (r.frames < 60000) {
        pilot.Steer();
        game->Update();
        ++r.frames;
        if (r.scenes.back() != game->sceneState) {
            r.scenes.push_back(game->sceneState);
            if (game->sceneState == SCENE_STAGE1 && r.scoreAtStart < 0) r.scoreAtStart = game->score;
            if (game->sceneState == SCENE_STAGE2) r.stage1Frames = r.frames;
            if (game->sceneState != SCENE_STAGE1 && game->sceneState != SCENE_STAGE2) break;
        }
        if (!r.boss1At && game->poolBoss1->LiveCount()) r.boss1At = r.frames;
        if (!r.boss1At) r.stage1Shots = std::max(r.stage1Shots, game->poolEnemyBullet->LiveCount());
        if (!r.boss2At && game->poolBoss2->LiveCount()) r.boss2At = r.frames;
        if (CPlayer* p = static_cast<CPlayer*>(game->poolPlayer->LiveCount() ? game->poolPlayer->liveHead->next : nullptr))
            r.lowestEnergy = std::min(r.lowestEnergy, p->energy);
    }
    pilot.Release();
    r.score = game->score;
    std::printf("frames %d (stage 1 %d, boss 1 at %d, boss 2 at %d), score %d, lowest energy %d, stage 1 shots %d\n",
                r.frames, r.stage1Frames, r.boss1At, r.boss2At, r.score, r.lowestEnergy, r.stage1Shots);
    return r;
}

// Two games in a row: the second, started again from the title after the win, plays the same stages
// from their starts with a new score.
TEST(WholeGameTest, AnAutomaticPlayerClearsBothStagesTwiceInARowWithTheKeysAlone)
{
    headless::HeadlessPlatform& h = headless::Install();
    h.files.moduleFileName = Backslashed(std::string(ZENTHAR_STAGE_DIR) + "/bin/zenthar");
    h.files.currentDirectory = Backslashed(ZENTHAR_STAGE_DIR);
    CQovGame* game = CreateGame();
    const auto started = std::chrono::steady_clock::now();
    AutoPilot pilot(game, &h);

    GameRecord games[2];
    for (GameRecord& r : games) {
        r = PlayOneGame(game, h, pilot);
        EXPECT_EQ(r.scenes, (std::vector<int>{SCENE_TITLE, SCENE_STAGE1, SCENE_STAGE2, SCENE_TITLE}));
        EXPECT_EQ(r.scoreAtStart, 0);
        EXPECT_GT(r.boss1At, 0);
        EXPECT_GT(r.stage1Shots, 0) << "the enemies of stage 1 shoot in every game";
        EXPECT_GT(r.boss2At, r.stage1Frames);
        // Both bosses' 31 death updates at 100 each, and the waves on top.
        EXPECT_GT(r.score, 6200);
        // Back at the title: nothing of the game is left.
        game->Update();
        EXPECT_EQ(game->poolPlayer->LiveCount() + game->poolEnemyZako->LiveCount() +
                      game->poolEnemyShot->LiveCount() + game->poolEnemyStrong->LiveCount() +
                      game->poolEnemyBullet->LiveCount(),
                  0);
    }
    // The bosses enter on their table frames, so the second game meets them when the first did.
    EXPECT_EQ(games[1].boss1At, games[0].boss1At);
    EXPECT_EQ(games[1].boss2At - games[1].stage1Frames, games[0].boss2At - games[0].stage1Frames);
    EXPECT_EQ(game->poolEControl->LiveCount(), 1);
    std::printf("%.2f s\n", std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
    delete game;
    g_game = nullptr;
}

}  // namespace
