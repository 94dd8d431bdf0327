// The toughest ordinary enemy: fires a spread every 20 updates.
#pragma once
#include "enemy/CEnemy.h"

class CEnemy_strong : public CEnemy {
public:
    ZEN_TASK_ALLOCATION();

    CEnemy_strong(int hp, float x, float y, float speedX, float speedY, int duration, int pattern);

protected:
    void Fire() override;
    int Score() const override { return 40; }
    int BarUnits() const override { return hp / 3; }
    CTexture* Sprite() const override;
};
