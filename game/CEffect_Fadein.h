// Fade-in: holds full black for 40 frames, then clears in 25.
#pragma once
#include "game/CEffect.h"

class CEffect_Fadein : public CEffect {
public:
    CEffect_Fadein();
    bool Update() override;
    void Draw() override;
};

static_assert(sizeof(CEffect_Fadein) <= kEffectPoolElementSize, "effects share one node size");
