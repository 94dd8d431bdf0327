// Common part of the three ordinary enemies: table-driven movement, hits, bounds, score and bar.
#pragma once
#include "game/CMobTask.h"

class CTexture;

class CEnemy : public CMobTask {
public:
    CEnemy(TaskPool* pool, int hp, float x, float y, float speedX, float speedY, int duration, int pattern);
    bool Update() override;
    void Draw() override;

    // The shared movement step; returns 1 while the enemy holds still in a hold phase.
    static int MovePattern(float& drawX, float& drawY, float& wave, float speedX, float speedY, int age,
                           int duration, int pattern);
    // Creates the shots of a firing pattern from the shooter's 32 x 32 sprite at (x, y).
    static void FirePattern(float x, float y, float angle, float speedX, float speedY, int firePattern);

    float drawX;
    float drawY;
    float speedX;
    float speedY;
    int hp;
    int pattern;
    int age = 0;
    int duration;
    float wave = 0.0f;
    int holding = 0;

protected:
    virtual void Fire() {}
    virtual int Score() const = 0;
    virtual int BarUnits() const = 0;
    virtual CTexture* Sprite() const = 0;
};
