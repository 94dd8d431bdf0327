#include "game/CPause.h"

#include "app/CQovGame.h"
#include "task/TaskPool.h"

ZEN_TASK_ALLOCATION_IMPL(CPause, poolPause)

CPause::CPause() : CTask(g_game->poolPause)
{
    g_game->paused = false;
}

bool CPause::Update()
{
    CQovGame* game = g_game;
    const bool held = game->GetIs(0, KEY_PAUSE);
    // Only the stages can be paused, so a pause always ends in a playing scene.
    if (!pauseHeld && held && game->sceneState >= SCENE_STAGE1) game->paused = !game->paused;
    pauseHeld = held;
    return true;
}
