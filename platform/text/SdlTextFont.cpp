#include "platform/text/SdlTextFont.h"

#include "platform/text/FontFace.h"

namespace sdl {

TextFont::~TextFont()
{
    if (font_) TTF_CloseFont(font_);
}

int TextFont::LineHeight() const
{
    return TTF_FontHeight(font_);
}

bool TextFont::RenderGlyph(std::uint32_t codepoint, GlyphImage& out)
{
    out = GlyphImage();
    if (!TTF_GlyphIsProvided32(font_, codepoint)) return false;
    int minX, maxX, minY, maxY, advance;
    if (TTF_GlyphMetrics32(font_, codepoint, &minX, &maxX, &minY, &maxY, &advance) != 0) return false;
    out.advance = advance;
    const SDL_Color white = {255, 255, 255, 255};
    // The surface spans the line from its top, so the glyph sits at the pen and the line top.
    SDL_Surface* s = TTF_RenderGlyph32_Blended(font_, codepoint, white);
    if (!s) return true;  // blanks render nothing
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(s);
    if (!argb) return true;
    out.width = argb->w;
    out.height = argb->h;
    out.coverage.resize(static_cast<size_t>(out.width) * out.height);
    SDL_LockSurface(argb);
    for (int y = 0; y < out.height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(static_cast<const std::uint8_t*>(argb->pixels) +
                                                                 static_cast<size_t>(y) * argb->pitch);
        for (int x = 0; x < out.width; ++x) out.coverage[static_cast<size_t>(y) * out.width + x] = row[x] >> 24;
    }
    SDL_UnlockSurface(argb);
    SDL_FreeSurface(argb);
    return true;
}

std::unique_ptr<ITextFont> OpenTextFont(const std::string& family, int height, bool italic)
{
    if (height <= 0) return nullptr;
    TTF_Font* font = OpenFontFace(family, height);
    if (!font) return nullptr;
    // The height is the line's, not the em's: shrink the size until the line fits.
    for (int size = height; size > 1 && TTF_FontHeight(font) > height; --size) TTF_SetFontSize(font, size - 1);
    if (italic) TTF_SetFontStyle(font, TTF_STYLE_ITALIC);
    return std::make_unique<TextFont>(font);
}

}  // namespace sdl
