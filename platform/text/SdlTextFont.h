// A TrueType face through SDL2_ttf, found by family name through fontconfig.
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

// The file of the face fontconfig gives for the family, preferring one with Japanese; empty when none.
std::string ResolveFontFile(const std::string& family, int& faceIndex);

// The face at a pixel height: the line (ascent + descent) is height pixels tall. Null when none can be had.
std::unique_ptr<ITextFont> OpenTextFont(const std::string& family, int height, bool italic);

}  // namespace sdl
