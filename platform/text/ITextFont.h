// A TrueType face at one pixel height that rasterises single characters for a glyph cache.
#pragma once
#include <cstdint>
#include <vector>

struct GlyphImage {
    int width = 0;   // coverage bitmap size in pixels; 0 × 0 for blanks
    int height = 0;
    int left = 0;    // bitmap position relative to the pen x and the line top
    int top = 0;
    int advance = 0; // pen advance in pixels
    std::vector<std::uint8_t> coverage;  // width × height, 0 … 255, rows from the top
};

class ITextFont {
public:
    virtual ~ITextFont() = default;
    // Distance from one line's top to the next line's top.
    virtual int LineHeight() const = 0;
    // False when the face cannot render the character at all.
    virtual bool RenderGlyph(std::uint32_t codepoint, GlyphImage& out) = 0;
};
