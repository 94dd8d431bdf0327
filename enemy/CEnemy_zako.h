// The weakest enemy: flies its pattern and never fires.
#pragma once
#include "enemy/CEnemy.h"

class CEnemy_zako : public CEnemy {
public:
    ZEN_TASK_ALLOCATION();

    CEnemy_zako(int hp, float x, float y, float speedX, float speedY, int duration, int pattern);

protected:
    int Score() const override { return 10; }
    int BarUnits() const override { return hp; }
    CTexture* Sprite() const override;
};
