// The first stage's boss: enters, curtains and rings, dashes at 70 %, spirals below 40 %.
#pragma once
#include "enemy/CBoss.h"

class CBoss_1 : public CBoss {
public:
    ZEN_TASK_ALLOCATION();

    CBoss_1(int hp, float x, float y, float speedX, float speedY, int duration);
    void Draw() override;

    float rowOffset = 0.0f;

protected:
    void BossMove() override;
    void BossAttack(int attack, int age) override;
    int DeathScore() const override { return 100; }
    int NextScene() const override { return 5; }
    bool EndsFlight() const override { return false; }
    void PublishReference() override;
};
