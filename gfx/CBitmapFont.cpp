#include "gfx/CBitmapFont.h"

#include <new>

#include "gfx/CTexture.h"

CBitmapFont::CBitmapFont(IGraphics* device, const std::string& path, const std::string& charset, float cellU_,
                         float cellV_, float cellWidth_, float cellHeight_, float shadowDx_, float shadowDy_)
    : cellU(cellU_), cellV(cellV_), cellWidth(cellWidth_), cellHeight(cellHeight_), shadowDx(shadowDx_),
      shadowDy(shadowDy_)
{
    texture = new (std::nothrow) CTexture(device, path);
    const int columns = cellU > 0.0f ? static_cast<int>(1.0f / cellU) : 0;
    for (int c = 0; c < 256; ++c) {
        glyphU[c] = -1.0f;
        glyphV[c] = -1.0f;
    }
    if (columns <= 0) return;
    for (size_t i = 0; i < charset.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(charset[i]);
        const int n = static_cast<int>(i);
        glyphU[c] = static_cast<float>(n % columns) * cellU;
        glyphV[c] = static_cast<float>(n / columns) * cellV;
    }
}

CBitmapFont::~CBitmapFont()
{
    delete texture;
}

void CBitmapFont::DrawText(const std::string& text, float x, float y, std::uint32_t colour)
{
    DrawTextScaled(text, x, y, 1.0f, 1.0f, colour);
}

void CBitmapFont::DrawTextShadow(const std::string& text, float x, float y, std::uint32_t colour,
                                 std::uint32_t shadow)
{
    DrawText(text, x + shadowDx, y + shadowDy, shadow);
    DrawText(text, x, y, colour);
}

void CBitmapFont::DrawTextScaled(const std::string& text, float x, float y, float scaleX, float scaleY,
                                 std::uint32_t colour)
{
    const float w = cellWidth * scaleX;
    const float h = cellHeight * scaleY;
    for (char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        // A picture that failed to load draws nothing: an untextured cell would show as a solid block.
        if (texture && texture->GetWidth() > 0 && glyphU[c] >= 0.0f && glyphV[c] >= 0.0f) {
            texture->DrawRect(x, y, w, h, glyphU[c], glyphV[c], cellU, cellV, colour);
        }
        x += w;
    }
}

void CBitmapFont::DrawChar(char ch, float x, float y, std::uint32_t colour)
{
    const unsigned char c = static_cast<unsigned char>(ch);
    if (texture && texture->GetWidth() > 0 && glyphU[c] >= 0.0f && glyphV[c] >= 0.0f) {
        texture->DrawRect(x, y, cellWidth, cellHeight, glyphU[c], glyphV[c], cellU, cellV, colour);
    }
}

void CBitmapFont::DrawCharShadow(char c, float x, float y, std::uint32_t colour, std::uint32_t shadow)
{
    DrawChar(c, x + shadowDx, y + shadowDy, shadow);
    DrawChar(c, x, y, colour);
}
