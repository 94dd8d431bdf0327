// Base of everything that moves in the play field and collides: a position and a hit box.
#pragma once
#include "task/CTask.h"

class CMobTask : public CTask {
public:
    CMobTask(TaskPool* pool, float x, float y, float hitLeft, float hitTop, float hitRight, float hitBottom)
        : CTask(pool), x(x), y(y), hitLeft(hitLeft), hitTop(hitTop), hitRight(hitRight), hitBottom(hitBottom)
    {
    }

    // Strict overlap of the two hit boxes: boxes that only share an edge do not touch.
    bool HitTest(const CMobTask* b) const
    {
        return b->x + b->hitRight > x + hitLeft && x + hitRight > b->x + b->hitLeft &&
               b->y + b->hitBottom > y + hitTop && y + hitBottom > b->y + b->hitTop;
    }

    float x;
    float y;
    float hitLeft;
    float hitTop;
    float hitRight;
    float hitBottom;
};
