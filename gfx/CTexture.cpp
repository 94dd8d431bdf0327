#include "gfx/CTexture.h"

#include "platform/graphics/IGraphics.h"

CTexture::CTexture(IGraphics* device_, const std::string& path) : device(device_)
{
    if (!device) return;
    const TextureInfo info = device->CreateTextureFromFile(path);
    if (info.handle == 0) return;
    texture = info.handle;
    surfaceWidth = info.surfaceWidth;
    surfaceHeight = info.surfaceHeight;
    width = info.width;
    height = info.height;
}

CTexture::~CTexture()
{
    if (device && texture) device->DestroyTexture(texture);
}

void CTexture::Draw(float x, float y, std::uint32_t colour)
{
    DrawRect(x, y, static_cast<float>(width), static_cast<float>(height), 0.0f, 0.0f, 1.0f, 1.0f, colour);
}

void CTexture::DrawEx(float x, float y, float scaleX, float scaleY, float uStart, float vStart, float uSpan,
                      float vSpan, std::uint32_t colour)
{
    const float w = static_cast<float>(width) * uSpan * scaleX;
    const float h = static_cast<float>(height) * vSpan * scaleY;
    DrawRect(x, y, w, h, uStart, vStart, uSpan, vSpan, colour);
}

void CTexture::DrawRect(float x, float y, float w, float h, float uStart, float vStart, float uSpan, float vSpan,
                        std::uint32_t colour)
{
    if (!device) return;
    TextureStage stage;
    stage.colorOp = TextureOp::Modulate;
    stage.colorArg1 = TextureArg::Texture;
    stage.colorArg2 = TextureArg::Diffuse;
    stage.alphaOp = TextureOp::Modulate;
    stage.alphaArg1 = TextureArg::Texture;
    stage.alphaArg2 = TextureArg::Diffuse;
    device->SetTextureStage(stage);
    device->SetTexture(texture);
    DrawQuad(device, x, y, w, h, uStart, vStart, uSpan, vSpan, colour);
}

void DrawQuad(IGraphics* device, float x, float y, float w, float h, float uStart, float vStart, float uSpan,
              float vSpan, std::uint32_t colour)
{
    if (!device) return;
    const QuadVertex v[4] = {
        {x, y, 0.0f, 1.0f, colour, uStart, vStart},
        {x + w, y, 0.0f, 1.0f, colour, uStart + uSpan, vStart},
        {x, y + h, 0.0f, 1.0f, colour, uStart, vStart + vSpan},
        {x + w, y + h, 0.0f, 1.0f, colour, uStart + uSpan, vStart + vSpan},
    };
    device->DrawQuad(v);
}
