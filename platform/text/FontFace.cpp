#include "platform/text/FontFace.h"

#ifdef ZENTHAR_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace sdl {

namespace {

// Japanese faces first; the others still show the boxes' Latin texts.
const char* const kKnownFaces[] = {
    "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf",
    "/usr/share/fonts/truetype/fonts-japanese-gothic.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
    "/usr/share/fonts/truetype/freefont/FreeSans.ttf",
};

// The file and face index fontconfig gives for the family; empty when none.
std::string MatchFontFile(const std::string& family, int& faceIndex)
{
    faceIndex = 0;
#ifdef ZENTHAR_HAVE_FONTCONFIG
    if (!FcInit()) return std::string();
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
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
    return std::string();
#endif
}

}  // namespace

TTF_Font* OpenFontFace(const std::string& family, int pointSize)
{
    if (!TTF_WasInit() && TTF_Init() != 0) return nullptr;
    int index = 0;
    const std::string file = MatchFontFile(family, index);
    TTF_Font* font = file.empty() ? nullptr : TTF_OpenFontIndex(file.c_str(), pointSize, index);
    for (const char* path : kKnownFaces) {
        if (!font) font = TTF_OpenFont(path, pointSize);
    }
    if (font) TTF_SetFontHinting(font, TTF_HINTING_NORMAL);
    return font;
}

}  // namespace sdl
