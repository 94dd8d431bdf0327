// The final boss: the second boss's rules with its own look, a number for its hit points, a larger prize.
#pragma once
#include "enemy/CBoss_2.h"

class CBoss_F : public CBoss_2 {
public:
    ZEN_TASK_ALLOCATION();

    CBoss_F(int hp, float x, float y, float speedX, float speedY, int duration);
    void Draw() override;

protected:
    int DeathScore() const override { return 1000; }
};
