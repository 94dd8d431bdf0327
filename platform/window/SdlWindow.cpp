#include "platform/window/SdlWindow.h"

#include <SDL_image.h>

#include <cctype>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "platform/window/LegacyWindowName.h"

namespace sdl {

std::uint32_t VirtualKeyOf(SDL_Keycode key)
{
    if (key >= SDLK_a && key <= SDLK_z) return static_cast<std::uint32_t>('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9) return static_cast<std::uint32_t>('0' + (key - SDLK_0));
    if (key >= SDLK_F1 && key <= SDLK_F12) return win::VK_F1 + static_cast<std::uint32_t>(key - SDLK_F1);
    switch (key) {
    case SDLK_ESCAPE: return win::VK_ESCAPE;
    case SDLK_RETURN: return win::VK_RETURN;
    case SDLK_SPACE: return 0x20;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return win::VK_SHIFT;
    case SDLK_LEFT: return 0x25;
    case SDLK_UP: return 0x26;
    case SDLK_RIGHT: return 0x27;
    case SDLK_DOWN: return 0x28;
    default: return 0;
    }
}

namespace {

// Whether SDL_VIDEODRIVER, a comma-separated list, names the driver.
bool Asked(const char* driver)
{
    const char* hint = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    if (!hint) return false;
    std::string list = "," + std::string(hint) + ",";
    for (char& c : list) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return list.find("," + std::string(driver) + ",") != std::string::npos;
}

std::string Described(const char* variable)
{
    const char* value = std::getenv(variable);
    return std::string(variable) + (value && *value ? "=" + std::string(value) : " is not set");
}

}  // namespace

bool StartVideo()
{
    // Why the first try found no display: a second try moments later would only probe again.
    static std::string refused;
    if (refused.empty()) {
        std::string why;
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
            const char* driver = SDL_GetCurrentVideoDriver();
            const bool unseen = driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
            if (!unseen || Asked(driver)) return true;
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
        } else if (SDL_GetHint(SDL_HINT_VIDEODRIVER)) {
            why = "; " + Described("SDL_VIDEODRIVER") + ": " + SDL_GetError();
        }
        refused = "no X11 or Wayland display could be opened (" + Described("DISPLAY") + ", " +
                  Described("WAYLAND_DISPLAY") + why + ")";
    }
    SDL_SetError("%s", refused.c_str());
    return false;
}

void FixWindowSize(SDL_Window* window, int width, int height)
{
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::strcmp(driver, "wayland") != 0) return;
    // The old limits, lifted first, would hold the new size back.
    SDL_SetWindowMaximumSize(window, 16384, 16384);
    SDL_SetWindowMinimumSize(window, width, height);
    SDL_SetWindowMaximumSize(window, width, height);
}

bool Window::Create(const std::string& title, int width, int height, const std::string& iconPath)
{
    if (!SDL_WasInit(SDL_INIT_VIDEO) && !StartVideo()) return false;
    // A window kept after Destroy (for its GL context) is replaced by the new one.
    if (window_) SDL_DestroyWindow(window_);
    window_ = nullptr;
    destroyed_ = false;
    // The game draws with OpenGL; the context is made by the graphics back end.
    window_ = SDL_CreateWindow(title.c_str(), 0, 0, width, height,
                               SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN | SDL_WINDOW_ALLOW_HIGHDPI);
    if (!window_) return false;
    FixWindowSize(window_, width, height);
    SetLegacyWindowName(window_, title);
    width_ = width;
    height_ = height;
    if (!iconPath.empty()) {
        std::string native = iconPath;
        for (char& c : native) {
            if (c == '\\') c = '/';
        }
        if (SDL_Surface* icon = IMG_Load(native.c_str())) {
            SDL_SetWindowIcon(window_, icon);
            SDL_FreeSurface(icon);
        }
    }
    SDL_DisableScreenSaver();
    // The system asks once whether the screen saver may run; the game answers through its procedure.
    queue_.push_back({win::WM_SYSCOMMAND, win::SC_SCREENSAVE, 0, 0});
    return true;
}

void Window::Destroy()
{
    if (!window_ || destroyed_) return;
    SendMessage(win::WM_DESTROY, 0, 0);
    // The GL context and what it holds are released after the loop; the SDL window goes with the process.
    SDL_HideWindow(window_);
    destroyed_ = true;
}

void Window::Maximize()
{
    if (window_) SDL_MaximizeWindow(window_);
}

void Window::AllowScreenSaver()
{
    SDL_EnableScreenSaver();
}

void Window::Translate(const SDL_Event& e, bool keyMessages)
{
    for (auto& listener : listeners) listener(e);
    switch (e.type) {
    case SDL_QUIT:
        // Also what SIGTERM and SIGINT become: the ordinary close path.
        queue_.push_back({win::WM_CLOSE, 0, 0, 0});
        break;
    case SDL_WINDOWEVENT:
        if (!window_ || e.window.windowID != SDL_GetWindowID(window_)) break;
        switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            queue_.push_back({win::WM_SYSCOMMAND, win::SC_CLOSE, 0, 0});
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            queue_.push_back({win::WM_PAINT, 0, 0, 0});
            break;
        // Each of these may change IsForeground: a message ends the loop's wait behind other windows.
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            queue_.push_back({win::WM_ACTIVATE, win::WA_ACTIVE, 0, 0});
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            queue_.push_back({win::WM_ACTIVATE, win::WA_INACTIVE, 0, 0});
            break;
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_HIDDEN:
            queue_.push_back({win::WM_SHOWWINDOW, e.window.event == SDL_WINDOWEVENT_SHOWN ? 1u : 0u, 0, 0});
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
            queue_.push_back({win::WM_SIZE, win::SIZE_MINIMIZED, 0, 0});
            break;
        case SDL_WINDOWEVENT_RESTORED:
            queue_.push_back({win::WM_SIZE, win::SIZE_RESTORED, 0, 0});
            break;
        case SDL_WINDOWEVENT_MAXIMIZED:
            // Undo at once; the request goes to the game, which may let the system maximise after all.
            SDL_RestoreWindow(window_);
            queue_.push_back({win::WM_SYSCOMMAND, win::SC_MAXIMIZE, 0, 0});
            break;
        default:
            break;
        }
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        if (!keyMessages) break;
        const bool down = e.type == SDL_KEYDOWN;
        const SDL_Keymod mod = static_cast<SDL_Keymod>(e.key.keysym.mod);
        std::uint32_t mods = 0;
        if (mod & KMOD_SHIFT) mods |= win::MOD_SHIFT_HELD;
        if (mod & KMOD_CTRL) mods |= win::MOD_CTRL_HELD;
        if (mod & KMOD_ALT) mods |= win::MOD_ALT_HELD;
        const SDL_Keycode key = e.key.keysym.sym;
        // Alt pressed and released alone, or F10, opens the system menu by keyboard.
        if (down && (key == SDLK_LALT || key == SDLK_RALT)) altAlone_ = true;
        else if (down) altAlone_ = false;
        if (!down && (key == SDLK_LALT || key == SDLK_RALT) && altAlone_) {
            altAlone_ = false;
            queue_.push_back({win::WM_SYSCOMMAND, win::SC_KEYMENU, 0, 0});
        }
        if (down && key == SDLK_F10 && !e.key.repeat) queue_.push_back({win::WM_SYSCOMMAND, win::SC_KEYMENU, 0, 0});
        std::uint32_t vk = VirtualKeyOf(key);
        if (vk == 0) break;
        queue_.push_back(KeyMessage(down, vk, mods, e.key.repeat != 0));
        break;
    }
    default:
        break;
    }
}

bool Window::PeekMessage(win::Msg& msg)
{
    SDL_Event e;
    while (queue_.empty() && SDL_PollEvent(&e)) Translate(e);
    if (queue_.empty()) return false;
    msg = queue_.front();
    queue_.pop_front();
    return true;
}

bool Window::GetMessage(win::Msg& msg)
{
    SDL_Event e;
    while (queue_.empty()) {
        if (SDL_WaitEvent(&e)) Translate(e);
    }
    msg = queue_.front();
    queue_.pop_front();
    return msg.message != win::WM_QUIT;
}

void Window::PostQuitMessage(int exitCode)
{
    queue_.push_back({win::WM_QUIT, static_cast<win::WPARAM>(exitCode), 0, 0});
}

bool Window::IsForeground() const
{
    return window_ && !destroyed_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

void Window::GetClientSize(int& width, int& height) const
{
    if (!window_ || destroyed_) {
        width = height = 0;
        return;
    }
    // The client size in window units; full screen keeps the game's own back-buffer size.
    width = width_;
    height = height_;
}

void Window::ShowCursor(bool show)
{
    SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

void Window::SetFullScreen(bool fullScreen)
{
    if (!window_ || fullScreen == fullScreen_) return;
    fullScreen_ = fullScreen;
    SDL_SetWindowFullscreen(window_, fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    if (!fullScreen) {
        SDL_SetWindowSize(window_, width_, height_);
        SDL_SetWindowPosition(window_, 0, 0);
    }
}

void Window::WaitMessage(double seconds)
{
    const Uint64 frequency = SDL_GetPerformanceFrequency();
    const Uint64 end = SDL_GetPerformanceCounter() + static_cast<Uint64>(seconds > 0 ? seconds * frequency : 0);
    while (queue_.empty()) {
        const Uint64 now = SDL_GetPerformanceCounter();
        if (now >= end) return;
        const double left = static_cast<double>(end - now) / static_cast<double>(frequency);
        // SDL waits in whole milliseconds; the last part of one is slept through.
        if (left < 0.001) {
            std::this_thread::sleep_for(std::chrono::duration<double>(left));
            return;
        }
        SDL_Event e;
        if (SDL_WaitEventTimeout(&e, static_cast<int>(left * 1000.0))) Translate(e);
    }
}

}  // namespace sdl
