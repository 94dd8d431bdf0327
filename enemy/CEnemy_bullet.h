// One enemy shot: flies by its motion kind, costs the ship 10 energy on contact, lives on the boss licence.
#pragma once
#include "game/CMobTask.h"

class CEnemy_bullet : public CMobTask {
public:
    ZEN_TASK_ALLOCATION();

    // Starts centred on the shooter's rectangle (x, y, w, h); plays the enemy-shot sound.
    CEnemy_bullet(float x, float y, float angle, float speedX, float speedY, float w, float h, int kind);
    // Circles the boss's reference point at the radius (kinds 8 and 9); silent.
    CEnemy_bullet(float x, float y, float radius, float angle, float w, float h, int kind);
    bool Update() override;
    void Draw() override;

    float speedX = 0.0f;
    float speedY = 0.0f;
    float angle = 0.0f;
    float spread = 0.0f;
    int kind = 0;
    int age = 0;
    float radius = 0.0f;
    bool firstFrame = true;

private:
    void Move();
    void Aim();
    void Step();
    void Bounce();
};
