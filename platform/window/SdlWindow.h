// The game window over SDL2: SDL events become the messages the game's window procedure handles.
#pragma once
#include <SDL.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/window/MessageWindow.h"

namespace sdl {

class Window : public MessageWindow {
public:
    bool Create(const std::string& title, int width, int height, const std::string& iconPath) override;
    bool Exists() const override { return window_ != nullptr && !destroyed_; }
    void Destroy() override;
    bool PeekMessage(win::Msg& msg) override;
    bool GetMessage(win::Msg& msg) override;
    void PostMessage(const win::Msg& msg) override { queue_.push_back(msg); }
    void WaitMessage(double seconds) override;
    void PostQuitMessage(int exitCode) override;
    bool IsForeground() const override;
    void GetClientSize(int& width, int& height) const override;
    void ShowCursor(bool show) override;
    void SetFullScreen(bool fullScreen) override;
    bool IsFullScreen() const override { return fullScreen_; }

    SDL_Window* Handle() const { return window_; }
    // An event a modal box's loop took that is not the box's: the input sees it now, its messages wait
    // in the queue. Key presses make no messages, as the box's owner takes no keys while it is up.
    void Absorb(const SDL_Event& e) { Translate(e, false); }
    // Sees every SDL event before it is translated (the input back end keeps its key state here).
    std::vector<std::function<void(const SDL_Event&)>> listeners;

protected:
    void Maximize() override;
    void AllowScreenSaver() override;

private:
    void Translate(const SDL_Event& e, bool keyMessages = true);

    SDL_Window* window_ = nullptr;
    std::deque<win::Msg> queue_;
    bool fullScreen_ = false;
    bool destroyed_ = false;
    bool altAlone_ = false;
    int width_ = 0, height_ = 0;
};

// Starts SDL's video on a display someone can see. SDL falls back to its offscreen driver when no display
// answers, which would run the game unseen: offscreen and dummy only when SDL_VIDEODRIVER names them.
// False, with SDL's error saying what is missing, when there is none.
bool StartVideo();

// A fixed client size the compositor knows of. SDL 2.26 gives an X11 window manager fixed size hints for
// every window that is not resizable, but tells a Wayland compositor only of a minimum and maximum set
// after the window is shown: without them KWin offers maximise, and SDL keeps the maximised size.
void FixWindowSize(SDL_Window* window, int width, int height);

// SDL keycode to Win32 virtual key, 0 when it has none the game uses.
std::uint32_t VirtualKeyOf(SDL_Keycode key);

}  // namespace sdl
