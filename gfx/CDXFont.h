// Text from a system TrueType face, drawn through the game's sprite batch from a glyph cache texture.
#pragma once
#include <cstdint>
#include <string>
#include <unordered_map>

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
    // Top-left at (x, y); clipped to the rectangle from there to the screen's bottom-right corner;
    // lines break only at '\n'. The text is UTF-8.
    void DrawText(CSprite* sprite, int x, int y, std::uint32_t colour, const char* text);
    void DrawFormat(CSprite* sprite, int x, int y, std::uint32_t colour, const char* format, ...)
        __attribute__((format(printf, 6, 7)));
    void Release();

    ITextFont* font = nullptr;

    static constexpr int kCacheSize = 512;

private:
    struct CachedGlyph {
        int x, y, width, height;  // place in the cache texture
        int left, top, advance;
    };
    const CachedGlyph* Glyph(std::uint32_t codepoint);
    void ClearCache();

    IGraphics* device = nullptr;
    std::uint32_t cacheTexture = 0;
    std::unordered_map<std::uint32_t, CachedGlyph> glyphs;
    int shelfX = 0, shelfY = 0, shelfHeight = 0;
};
