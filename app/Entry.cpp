#include "app/Entry.h"

#include "app/CQovGame.h"
#if __has_include("game/CPause.h")
#include "game/CPause.h"
#endif
#if __has_include("game/CBackGround.h")
#include "game/CBackGround.h"
#endif
#if __has_include("game/CStage.h")
#include "game/CStage.h"
#endif

CQovGame* CreateGame()
{
    CQovGame* game = new CQovGame();
    g_game = game;
    game->fps = 60.0;
    game->stopWhenInactive = true;
    // Each links itself into its pool; nothing else keeps them.
#if __has_include("game/CPause.h")
    new CPause();
#endif
#if __has_include("game/CBackGround.h")
    new CBackGround();
#endif
#if __has_include("game/CStage.h")
    new CStage();
#endif
    return game;
}

int RunGame()
{
    CQovGame* game = CreateGame();
    game->MainLoop();
    delete game;
    return 0;
}
