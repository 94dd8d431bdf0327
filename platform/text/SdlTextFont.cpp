#include "platform/text/SdlTextFont.h"

#include <cstring>

#ifdef ZENTHAR_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

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

std::string ResolveFontFile(const std::string& family, int& faceIndex)
{
    faceIndex = 0;
#ifdef ZENTHAR_HAVE_FONTCONFIG
    if (!FcInit()) return std::string();
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    // A Windows face name like "MS ゴシック" is unknown here; asking for Japanese finds a face that has it.
    FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    std::string file;
    if (match) {
        FcChar8* path = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path) {
            file = reinterpret_cast<const char*>(path);
        }
        int index = 0;
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) faceIndex = index;
        FcPatternDestroy(match);
    }
    return file;
#else
    (void)family;
    static const char* const kKnown[] = {"/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf",
                                         "/usr/share/fonts/truetype/fonts-japanese-gothic.ttf"};
    for (const char* path : kKnown) {
        if (SDL_RWops* f = SDL_RWFromFile(path, "rb")) {
            SDL_RWclose(f);
            return path;
        }
    }
    return std::string();
#endif
}

std::unique_ptr<ITextFont> OpenTextFont(const std::string& family, int height, bool italic)
{
    if (height <= 0) return nullptr;
    if (!TTF_WasInit() && TTF_Init() != 0) return nullptr;
    int index = 0;
    const std::string file = ResolveFontFile(family, index);
    if (file.empty()) return nullptr;
    TTF_Font* font = TTF_OpenFontIndex(file.c_str(), height, index);
    if (!font) return nullptr;
    // The height is the line's, not the em's: shrink the size until the line fits.
    for (int size = height; size > 1 && TTF_FontHeight(font) > height; --size) TTF_SetFontSize(font, size - 1);
    TTF_SetFontHinting(font, TTF_HINTING_NORMAL);
    if (italic) TTF_SetFontStyle(font, TTF_STYLE_ITALIC);
    return std::make_unique<TextFont>(font);
}

}  // namespace sdl
