// An enemy that sprays loosely aimed shots while it hovers.
#pragma once
#include "enemy/CEnemy.h"

class CEnemy_shot : public CEnemy {
public:
    ZEN_TASK_ALLOCATION();

    CEnemy_shot(int hp, float x, float y, float speedX, float speedY, int duration, int pattern);

protected:
    void Fire() override;
    int Score() const override { return 20; }
    int BarUnits() const override { return hp / 3; }
    CTexture* Sprite() const override;
};
