#include "gfx/CSprite.h"

#include <algorithm>

CSprite::CSprite(IGraphics* device_) : device(device_) {}

bool CSprite::Begin(unsigned flags)
{
    if (!device || inBatch) return false;
    inBatch = true;
    saved = device->GetRenderState();
    savedTexture = device->GetTexture();

    // The sprite's own state: flat quads, no depth, no culling; blending only when asked.
    RenderState s = saved;
    const bool blend = (flags & kAlphaBlend) != 0;
    s.alphaBlendEnable = blend;
    s.srcBlend = BlendFactor::SrcAlpha;
    s.destBlend = BlendFactor::InvSrcAlpha;
    s.alphaTestEnable = blend;
    s.alphaFunc = CompareFunc::Greater;
    s.alphaRef = 0;
    s.cullMode = CullMode::None;
    s.zEnable = false;
    s.stage0.colorOp = TextureOp::Modulate;
    s.stage0.colorArg1 = TextureArg::Texture;
    s.stage0.colorArg2 = TextureArg::Diffuse;
    s.stage0.alphaOp = TextureOp::Modulate;
    s.stage0.alphaArg1 = TextureArg::Texture;
    s.stage0.alphaArg2 = TextureArg::Diffuse;
    device->SetRenderState(s);
    return true;
}

void CSprite::Draw(std::uint32_t texture, int texWidth, int texHeight, int srcX, int srcY, int srcW, int srcH,
                   int x, int y, std::uint32_t colour, const int clip[4])
{
    if (!device || !inBatch || texWidth <= 0 || texHeight <= 0) return;
    int left = x, top = y, right = x + srcW, bottom = y + srcH;
    if (clip) {
        left = std::max(left, clip[0]);
        top = std::max(top, clip[1]);
        right = std::min(right, clip[2]);
        bottom = std::min(bottom, clip[3]);
    }
    if (right <= left || bottom <= top) return;

    const float tw = static_cast<float>(texWidth);
    const float th = static_cast<float>(texHeight);
    const float u0 = static_cast<float>(srcX + (left - x)) / tw;
    const float v0 = static_cast<float>(srcY + (top - y)) / th;
    const float u1 = static_cast<float>(srcX + (right - x)) / tw;
    const float v1 = static_cast<float>(srcY + (bottom - y)) / th;
    const float l = static_cast<float>(left), t = static_cast<float>(top);
    const float r = static_cast<float>(right), b = static_cast<float>(bottom);
    const QuadVertex v[4] = {
        {l, t, 0.0f, 1.0f, colour, u0, v0},
        {r, t, 0.0f, 1.0f, colour, u1, v0},
        {l, b, 0.0f, 1.0f, colour, u0, v1},
        {r, b, 0.0f, 1.0f, colour, u1, v1},
    };
    device->SetTexture(texture);
    device->DrawQuad(v);
}

void CSprite::End()
{
    if (!device || !inBatch) return;
    inBatch = false;
    device->SetRenderState(saved);
    device->SetTexture(savedTexture);
}
