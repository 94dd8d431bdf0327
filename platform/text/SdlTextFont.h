// A TrueType face through SDL2_ttf as the game's text font, glyph by glyph.
#pragma once
#include <SDL_ttf.h>

#include <memory>
#include <string>

#include "platform/text/ITextFont.h"

namespace sdl {

class TextFont : public ITextFont {
public:
    explicit TextFont(TTF_Font* font) : font_(font) {}
    ~TextFont() override;
    TextFont(const TextFont&) = delete;
    TextFont& operator=(const TextFont&) = delete;
    int LineHeight() const override;
    bool RenderGlyph(std::uint32_t codepoint, GlyphImage& out) override;

private:
    TTF_Font* font_;
};

// The face at a pixel height: the line (ascent + descent) is height pixels tall. Null when none can be had.
std::unique_ptr<ITextFont> OpenTextFont(const std::string& family, int height, bool italic);

}  // namespace sdl
