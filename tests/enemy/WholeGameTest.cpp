// The shipped stages played from the title to the return to the title by an automatic player that only
// presses keys: it reads where things are, as a player looks at the screen, and steers to dodge and aim.
#include <gtest/gtest.h>

#include <algorithm>
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
#include "platform/HeadlessPlatform.h"
#include "support/AutoPilot.h"
#include "task/TaskPool.h"

namespace {

using autoplay::AutoPilot;
using autoplay::kDecide;

std::string Backslashed(std::string path)
{
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

struct GameRecord {
    std::vector<int> scenes;
    int frames = 0, stage1Frames = 0, boss1At = 0, boss2At = 0, lowestEnergy = 100, score = 0, scoreAtStart = -1;
    int satellitesAtStart = -1;  // two steps into stage 1
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
            if (game->sceneState == SCENE_STAGE1) r.satellitesAtStart = -r.frames;
            if (game->sceneState == SCENE_STAGE2) r.stage1Frames = r.frames;
            if (game->sceneState != SCENE_STAGE1 && game->sceneState != SCENE_STAGE2) break;
        }
        if (r.satellitesAtStart == -(r.frames - 2)) r.satellitesAtStart = game->poolBulletS->LiveCount();
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
// from their starts, carrying the first game's score, and with it the satellites from its first steps.
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
        EXPECT_EQ(r.scoreAtStart, &r == games ? 0 : games[0].score);
        EXPECT_EQ(r.satellitesAtStart, &r == games ? 0 : 2);
        EXPECT_GT(r.boss1At, 0);
        EXPECT_GT(r.stage1Shots, 0) << "the enemies of stage 1 shoot in every game";
        EXPECT_GT(r.boss2At, r.stage1Frames);
        // Both bosses' 31 death updates at 100 each, and the waves on top.
        EXPECT_GT(r.score - r.scoreAtStart, 6200);
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
