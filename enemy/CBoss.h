// Common part of the bosses: hits, the death sequence that ends the stage, the published reference point.
#pragma once
#include "game/CMobTask.h"

class CBoss : public CMobTask {
public:
    // (x, y) is the sprite's centre; the position becomes its top-left corner.
    CBoss(TaskPool* pool, int hp, float x, float y, float speedX, float speedY, int duration);
    bool Update() override;

    float speedX;
    float speedY;
    int hp;
    int age = 0;
    int duration;
    float spin = 0.0f;
    int phase = 0;
    int attack = 0;
    int maxHp;
    int deathTimer = 0;

protected:
    virtual void BossMove() = 0;
    virtual void BossAttack(int attack, int age) = 0;
    virtual int DeathScore() const = 0;
    virtual int NextScene() const = 0;
    // The second stage's bosses also end the ship's flight when they fall.
    virtual bool EndsFlight() const = 0;
    // The point the orbiting shots circle: the sprite's top-left corner unless a boss says otherwise.
    virtual void PublishReference();

    // hp below the fraction of maxHp; the fraction is single precision, the product double.
    bool Below(float fraction) const { return hp < maxHp * static_cast<double>(fraction); }
    void DrawHpBar() const;
};
