// Fade-out: darkens the play field in 25 frames, then hands over to a fade-in.
#pragma once
#include "game/CEffect.h"

class CEffect_Fade : public CEffect {
public:
    CEffect_Fade();
    bool Update() override;
    void Draw() override;
};

static_assert(sizeof(CEffect_Fade) <= kEffectPoolElementSize, "effects share one node size");
