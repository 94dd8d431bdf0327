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

TEST(WholeGameTest, AnAutomaticPlayerClearsBothStagesWithTheKeysAlone)
{
    headless::HeadlessPlatform& h = headless::Install();
    h.files.moduleFileName = Backslashed(std::string(ZENTHAR_STAGE_DIR) + "/bin/zenthar");
    h.files.currentDirectory = Backslashed(ZENTHAR_STAGE_DIR);
    CQovGame* game = CreateGame();
    const auto started = std::chrono::steady_clock::now();

    std::vector<int> scenes{game->sceneState};
    AutoPilot pilot(game, &h);
    game->Update();
    h.input.SetKey(kDecide, true);
    game->Update();
    h.input.SetKey(kDecide, false);

    int frames = 0, stage1Frames = 0, boss1At = 0, boss2At = 0, lowestEnergy = 100;
    while (frames < 60000) {
        pilot.Steer();
        game->Update();
        ++frames;
        if (scenes.back() != game->sceneState) {
            scenes.push_back(game->sceneState);
            if (game->sceneState == SCENE_STAGE2) stage1Frames = frames;
            if (game->sceneState != SCENE_STAGE1 && game->sceneState != SCENE_STAGE2) break;
        }
        if (!boss1At && game->poolBoss1->LiveCount()) boss1At = frames;
        if (!boss2At && game->poolBoss2->LiveCount()) boss2At = frames;
        if (CPlayer* p = static_cast<CPlayer*>(game->poolPlayer->LiveCount() ? game->poolPlayer->liveHead->next : nullptr))
            lowestEnergy = std::min(lowestEnergy, p->energy);
    }
    pilot.Release();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("frames %d (stage 1 %d, boss 1 at %d, boss 2 at %d), score %d, lowest energy %d, %.2f s\n",
                frames, stage1Frames, boss1At, boss2At, game->score, lowestEnergy, seconds);

    EXPECT_EQ(scenes, (std::vector<int>{SCENE_TITLE, SCENE_STAGE1, SCENE_STAGE2, SCENE_TITLE}));
    EXPECT_GT(boss1At, 0);
    EXPECT_GT(boss2At, stage1Frames);
    // Both bosses' 31 death updates at 100 each, and the waves on top.
    EXPECT_GT(game->score, 6200);
    // Back at the title: nothing of the game is left.
    game->Update();
    EXPECT_EQ(game->poolPlayer->LiveCount() + game->poolEnemyZako->LiveCount() + game->poolEnemyShot->LiveCount() +
                  game->poolEnemyStrong->LiveCount() + game->poolEnemyBullet->LiveCount(),
              0);
    delete game;
    g_game = nullptr;
}

}  // namespace
