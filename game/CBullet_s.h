// A satellite gun: follows the player and adds two angled shots a frame while fire is held.
#pragma once
#include "task/CTask.h"

class CBullet_s : public CTask {
public:
    ZEN_TASK_ALLOCATION();

    CBullet_s();
    bool Update() override;
    void Draw() override;

    float x;
    float y;
};
