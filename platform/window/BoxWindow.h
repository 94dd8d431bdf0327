// A message box's own window: a dialog to the window manager, its picture drawn in memory and put on the
// screen through Xlib on X11 (no GL context, no process-wide setting), through SDL's window surface elsewhere.
#pragma once
#include <SDL.h>

#include <string>

namespace sdl {

class BoxWindow {
public:
    BoxWindow() = default;
    ~BoxWindow() { Destroy(); }
    BoxWindow(const BoxWindow&) = delete;
    BoxWindow& operator=(const BoxWindow&) = delete;

    // Hidden until shown; owner: kept above it. False when it cannot be made or drawn into.
    bool Create(const std::string& caption, int x, int y, int width, int height, bool skipTaskbar,
                SDL_Window* owner);
    // Shown in front with the keyboard, its size fixed.
    void Show();
    void Resize(int width, int height);
    void Destroy();
    SDL_Window* Handle() const { return window_; }

    // The picture to draw into, the window's size; null when there is none.
    SDL_Surface* Canvas();
    void Present();

private:
    SDL_Window* window_ = nullptr;
    SDL_Surface* picture_ = nullptr;  // ours on X11; elsewhere SDL's window surface is drawn into
    Uint32 format_ = SDL_PIXELFORMAT_UNKNOWN;
    void* display_ = nullptr;  // X11: Display*, null on other drivers
    void* visual_ = nullptr;
    void* gc_ = nullptr;
    unsigned long xwindow_ = 0;
    int depth_ = 0;
};

}  // namespace sdl
