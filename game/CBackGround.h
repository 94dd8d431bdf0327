// Everything behind play: the title and game-over menus with their screens, and the sky during the stages.
#pragma once
#include "task/CTask.h"

class CBackGround : public CTask {
public:
    ZEN_TASK_ALLOCATION();

    CBackGround();
    bool Update() override;
    void Draw() override;

    // The selection is the pointer position: pointerX on the title, pointerY on the game-over menu.
    bool moveHeld = true;
    bool firstStart = true;
    int pointerX = 30;
    int pointerY = 512;
    int countdown = 0;
    bool resetPointer = true;

private:
    void UpdateTitle();
    void UpdateGameOver();
    void DrawTitle();
    void DrawGameOver();
};
