// The second stage's boss: aimed volleys, then two diverging trails of hanging shots, then bouncing rings.
#pragma once
#include "enemy/CBoss.h"

class CBoss_2 : public CBoss {
public:
    ZEN_TASK_ALLOCATION();

    CBoss_2(int hp, float x, float y, float speedX, float speedY, int duration);
    void Draw() override;

    float anchorX1 = 0.0f;
    float anchorX2 = 0.0f;
    float anchorY = 0.0f;

protected:
    CBoss_2(TaskPool* pool, int hp, float x, float y, float speedX, float speedY, int duration);
    void BossMove() override;
    void BossAttack(int attack, int age) override;
    int DeathScore() const override { return 100; }
    int NextScene() const override { return 0; }
    bool EndsFlight() const override { return true; }
};
