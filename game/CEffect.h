// Base of the full-screen overlays; all effects share one pool.
#pragma once
#include "task/CTask.h"

class CEffect : public CTask {
public:
    ZEN_TASK_ALLOCATION();

    explicit CEffect(float alpha);
    bool Update() override { return true; }

    float alpha;  // overlay opacity, 0 … 255
    int frame = 0;

protected:
    // "black.png" over the play field at the current opacity.
    void DrawOverlay() const;
};

// The variants add no fields, so one node size fits every effect; their headers check it.
constexpr int kEffectPoolElementSize = static_cast<int>(sizeof(CEffect));
