// The one lookup of a face by family name, for the game's text and the message boxes alike.
#pragma once
#include <SDL_ttf.h>

#include <string>

namespace sdl {

// fontconfig's face for the family, preferring one with Japanese (a Windows name like "MS ゴシック" is
// unknown here), else the first of the faces Debian ships that opens; hinted as the game draws text.
// Null when there is none.
TTF_Font* OpenFontFace(const std::string& family, int pointSize);

}  // namespace sdl
