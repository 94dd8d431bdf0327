#include "enemy/CE_Control.h"

#include <climits>

#include "app/CQovGame.h"
#include "enemy/CBoss_1.h"
#include "enemy/CBoss_2.h"
#include "enemy/CEnemy_shot.h"
#include "enemy/CEnemy_strong.h"
#include "enemy/CEnemy_zako.h"
#include "platform/Platform.h"
#include "platform/WinTypes.h"
#include "task/TaskPool.h"

ZEN_TASK_ALLOCATION_IMPL(CE_Control, poolEControl)

namespace {

void OpenTable(SpawnTable& table, const char* relative)
{
    IFileSystem* files = Sys().files;
    const std::string path = (files ? files->GetCurrentDirectory() + "\\" : std::string()) + relative;
    if (!table.Open(NativePath(path))) Sys().messageBox->Show(false, "error", "", win::MB_OK);
}

}  // namespace

CE_Control::CE_Control() : CTask(g_game->poolEControl)
{
    g_game->spawnFrame = 0;
    g_game->readNextRow = true;
    OpenTable(table1, "Table\\table1.txt");
    OpenTable(table2, "Table\\table2.txt");
}

CE_Control::~CE_Control()
{
    table1.Close();
    table2.Close();
}

// Play comes back from a menu only as a new game (Game_Start or Restart): stage 1 from the first row
// of table 1, stage 2 later from the first row of table 2, and enemy shots living again as in the
// first game, since the last boss to die cleared bossActive. Done on the way into play rather than
// into the menu, so that the last boss's shots do not fly on over the menu.
void CE_Control::StartOver()
{
    table1.Rewind();
    table2.Rewind();
    row = SpawnRow();
    rowScene = 0;
    inMenu = false;
    CQovGame* game = g_game;
    game->spawnFrame = 0;
    game->readNextRow = true;
    game->bossActive = true;
}

void CE_Control::ReadRow(SpawnTable& table, int scene)
{
    // A stage whose table yields nothing (missing, empty, bad from the start) holds no row: the other
    // stage's last row, a boss row say, would fire again once the counter restarts. Within a table the
    // end keeps the last row, whose frame has already passed.
    if (table.Read(row) == 0 && rowScene != scene) row = SpawnRow();
    rowScene = scene;
}

void CE_Control::Spawn()
{
    CQovGame* game = g_game;
    const SpawnRow& r = row;
    switch (r.type) {
    case 0:
        new CEnemy_zako(r.hp, r.x, r.y, r.speedX, r.speedY, r.duration, r.pattern);
        game->readNextRow = true;
        break;
    case 1:
        new CEnemy_shot(r.hp, r.x, r.y, r.speedX, r.speedY, r.duration, r.pattern);
        game->readNextRow = true;
        break;
    case 2:
        new CEnemy_strong(r.hp, r.x, r.y, r.speedX, r.speedY, r.duration, r.pattern);
        game->readNextRow = true;
        break;
    case 100:
        new CBoss_1(r.hp, r.x, r.y, r.speedX, r.speedY, r.duration);
        break;
    case 200:
        new CBoss_2(r.hp, r.x, r.y, r.speedX, r.speedY, r.duration);
        break;
    default:
        break;
    }
}

bool CE_Control::Update()
{
    CQovGame* game = g_game;
    if (game->sceneState != SCENE_STAGE1 && game->sceneState != SCENE_STAGE2) {
        inMenu = true;
    } else if (inMenu) {
        StartOver();
    }
    if (game->readNextRow) {
        if (game->sceneState == SCENE_STAGE1) {
            ReadRow(table1, SCENE_STAGE1);
            game->readNextRow = false;
        } else if (game->sceneState == SCENE_STAGE2) {
            ReadRow(table2, SCENE_STAGE2);
            game->readNextRow = false;
        }
    }

    if (game->sceneState > SCENE_STAGE_THRESHOLD && game->spawnFrame == row.frame) Spawn();

    if (game->sceneState < SCENE_STAGE_THRESHOLD) game->spawnFrame = 0;
    else if (game->spawnFrame < INT_MAX) ++game->spawnFrame;
    return true;
}
