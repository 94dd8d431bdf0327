#include "game/CEffect_Fadein.h"

CEffect_Fadein::CEffect_Fadein() : CEffect(255.0f) {}

bool CEffect_Fadein::Update()
{
    ++frame;
    if (frame > 40) alpha -= 10.0f;
    return alpha > 1.0f;
}

void CEffect_Fadein::Draw()
{
    DrawOverlay();
}
