// Flips the game's pause flag on a new press of the pause button during play.
#pragma once
#include "task/CTask.h"

class CPause : public CTask {
public:
    ZEN_TASK_ALLOCATION();

    CPause();
    bool Update() override;
    void Draw() override {}

    // Starts set so that a button already held when the game starts does not toggle.
    bool pauseHeld = true;
};
