// A modal message box of our own: a small top-level window, drawn in software with SDL2_ttf, so that
// Japanese texts show where SDL's X11 box has no fonts for them (or no core fonts at all). Answered with
// the keyboard, the mouse or any game controller.
#pragma once
#include <SDL.h>
#include <SDL_ttf.h>

#include <string>
#include <vector>

#include "platform/window/BoxPad.h"
#include "platform/window/BoxWindow.h"

namespace sdl {

class Window;

class MessageBox {
public:
    // game: the game window (may be null); owned: centre on it and keep above it, as an owned box.
    // padDecide: the button that decides on a pad SDL knows only as a joystick.
    MessageBox(Window* game, bool owned, const std::string& text, const std::string& caption, unsigned style,
               int padDecide = 2);
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
    // Size and button places for the text, the buttons and the pad's hint; true when the size changed.
    bool Layout();
    // The hint follows the first attached pad, or goes with the last one.
    void UpdateHint();
    void Draw();
    // True when the event is the box's own; the rest belongs to the game.
    bool IsOwn(const SDL_Event& e) const;
    void Handle(const SDL_Event& e);
    void HandlePad(const SDL_Event& e);
    void Answer(int answer);
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
    BoxPad pad_;
    std::vector<SDL_Surface*> lines_;
    std::vector<Button> buttons_;
    SDL_Surface* hint_ = nullptr;  // how to answer with the pad; null without one
    int textWidth_ = 0;
    int width_ = 0, height_ = 0;
    int lineHeight_ = 0;
    int focus_ = 0;     // the button Return, Space and the pad's decide press
    int hover_ = -1;
    int pressed_ = -1;  // mouse button held down on it
    int answer_ = 0;
    bool quitting_ = false;
};

}  // namespace sdl
