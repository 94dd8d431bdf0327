#include "game/CEffect.h"

#include <cstdint>

#include "app/CQovGame.h"
#include "gfx/CTexture.h"
#include "task/TaskPool.h"

ZEN_TASK_ALLOCATION_IMPL(CEffect, poolEffect)

CEffect::CEffect(float alpha_) : CTask(g_game->poolEffect), alpha(alpha_) {}

void CEffect::DrawOverlay() const
{
    CTexture* tex = g_game->texBlack;
    if (!tex) return;
    const std::uint32_t a = static_cast<std::uint32_t>(static_cast<int>(alpha)) & 0xFFu;
    tex->Draw(0.0f, 0.0f, a << 24 | 0x00FFFFFFu);
}
