// The window name older window managers, taskbars and tools read (X11's WM_NAME), in the encoding they
// all decode. SDL writes it in the C library's locale, which is "C" here: every non-ASCII caption came
// out mangled, while _NET_WM_NAME was right.
#pragma once
#include <SDL.h>

#include <string>

namespace sdl {

// Latin-1 captions as STRING, the rest as COMPOUND_TEXT; nothing on displays other than X11.
void SetLegacyWindowName(SDL_Window* window, const std::string& utf8Caption);

}  // namespace sdl
