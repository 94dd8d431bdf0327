// One player shot: flies up or slightly aside, ends on the first enemy it touches or off screen.
#pragma once
#include "game/CMobTask.h"

class CBullet : public CMobTask {
public:
    ZEN_TASK_ALLOCATION();

    // The 16 x 16 sprite is centred on the w x h box whose top-left is (x0, y0).
    CBullet(float x0, float y0, float w, float h, int kind);
    bool Update() override;
    void Draw() override;

    float speed = 10.0f;
    int kind;  // 0 straight up, 1 up and right, 2 up and left
};
