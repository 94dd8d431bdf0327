// Text from a system TrueType face, drawn through the game's sprite batch.
#pragma once
#include <cstdint>
#include <string>

class IGraphics;
class CSprite;
class ITextFont;

class CDXFont {
public:
    CDXFont();
    virtual ~CDXFont();
    CDXFont(const CDXFont&) = delete;
    CDXFont& operator=(const CDXFont&) = delete;

    // True when no font could be created, false on success.
    bool Create(IGraphics* device, const std::string& faceName, int height, bool italic);
    void DrawText(CSprite* sprite, int x, int y, std::uint32_t colour, const char* text);
    void DrawFormat(CSprite* sprite, int x, int y, std::uint32_t colour, const char* format, ...);

    ITextFont* font = nullptr;
};
