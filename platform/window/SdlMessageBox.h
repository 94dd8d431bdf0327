// A modal message box of our own: a small top-level window, drawn in software with SDL2_ttf, so that
// Japanese texts show where SDL's X11 box has no fonts for them (or no core fonts at all).
#pragma once
#include <SDL.h>
#include <SDL_ttf.h>

#include <string>
#include <vector>

#include "platform/window/BoxWindow.h"

namespace sdl {

class Window;

class MessageBox {
public:
    // game: the game window (may be null); owned: centre on it and keep above it, as an owned box.
    MessageBox(Window* game, bool owned, const std::string& text, const std::string& caption, unsigned style);
    ~MessageBox();
    MessageBox(const MessageBox&) = delete;
    MessageBox& operator=(const MessageBox&) = delete;

    // Shows the box and blocks until it is answered: IDOK or IDCANCEL. 0 when the window cannot be made.
    int Run();

private:
    struct Button {
        SDL_Rect rect;
        int answer;
        SDL_Surface* label;
    };

    bool Build();
    void Draw();
    // True when the event is the box's own; the rest belongs to the game.
    bool IsOwn(const SDL_Event& e) const;
    void Handle(const SDL_Event& e);
    int ButtonAt(int x, int y) const;
    int CloseAnswer() const;

    Window* game_;
    bool owned_;
    std::string text_;
    std::string caption_;
    unsigned style_;

    TTF_Font* font_ = nullptr;
    BoxWindow box_;
    Uint32 windowId_ = 0;
    std::vector<SDL_Surface*> lines_;
    std::vector<Button> buttons_;
    int lineHeight_ = 0;
    int focus_ = 0;     // the button Return and Space press
    int hover_ = -1;
    int pressed_ = -1;  // mouse button held down on it
    int answer_ = 0;
};

}  // namespace sdl
