// Text from a picture of fixed-size glyph cells, with a charset saying which character is where.
#pragma once
#include <cstdint>
#include <string>

class CTexture;
class IGraphics;

class CBitmapFont {
public:
    CBitmapFont(IGraphics* device, const std::string& path, const std::string& charset, float cellU, float cellV,
                float cellWidth, float cellHeight, float shadowDx, float shadowDy);
    ~CBitmapFont();
    CBitmapFont(const CBitmapFont&) = delete;
    CBitmapFont& operator=(const CBitmapFont&) = delete;

    void DrawText(const std::string& text, float x, float y, std::uint32_t colour);
    void DrawTextShadow(const std::string& text, float x, float y, std::uint32_t colour, std::uint32_t shadow);
    void DrawTextScaled(const std::string& text, float x, float y, float scaleX, float scaleY,
                        std::uint32_t colour);
    void DrawChar(char c, float x, float y, std::uint32_t colour);
    void DrawCharShadow(char c, float x, float y, std::uint32_t colour, std::uint32_t shadow);

    CTexture* texture = nullptr;
    float glyphU[256];
    float glyphV[256];
    float cellU;
    float cellV;
    float cellWidth;
    float cellHeight;
    float shadowDx;
    float shadowDy;
};
