// The size of the window's GL drawable as the window system has it.
#pragma once
#include <SDL.h>

namespace sdl {

// False where SDL's own idea is all there is (only X11 can disagree with it: without a window manager a
// full-screen request leaves the window as it was while SDL reports the screen's size).
bool WindowSystemDrawableSize(SDL_Window* window, int& width, int& height);

}  // namespace sdl
