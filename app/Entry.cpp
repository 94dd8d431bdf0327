#include "app/Entry.h"

#include "app/CQovGame.h"
#include "game/CPause.h"
#include "game/CBackGround.h"
#include "game/CStage.h"

CQovGame* CreateGame()
{
    CQovGame* game = new CQovGame();
    g_game = game;
    game->fps = 60.0;
    game->stopWhenInactive = true;
    // Each links itself into its pool; nothing else keeps them.
    new CPause();
    new CBackGround();
    new CStage();
    return game;
}

int RunGame()
{
    CQovGame* game = CreateGame();
    game->MainLoop();
    delete game;
    return 0;
}
