// The ship the user steers: movement, fire, satellites from 500 points, energy and the death sequence.
#pragma once
#include "game/CMobTask.h"

class CPlayer : public CMobTask {
public:
    ZEN_TASK_ALLOCATION();

    CPlayer(float startX, float startY);
    bool Update() override;
    void Draw() override;

    float posX;
    float posY;
    float speed = 5.0f;
    int slowActive = 0;
    int deathCount = 0;
    // Lowered directly by enemies, bosses and enemy bullets; may go negative.
    int energy = 100;
};
