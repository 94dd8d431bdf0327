#include "game/CEffect_Fade.h"

#include "game/CEffect_Fadein.h"

CEffect_Fade::CEffect_Fade() : CEffect(0.0f) {}

bool CEffect_Fade::Update()
{
    alpha += 10.0f;
    if (alpha < 255.0f) return true;
    // This fade still holds its slot here, so a full pool yields no fade-in.
    new CEffect_Fadein();
    return false;
}

void CEffect_Fade::Draw()
{
    DrawOverlay();
}
