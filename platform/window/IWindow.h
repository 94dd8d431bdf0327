// The game window and its message queue, as the game's Win32-shaped code expects them.
#pragma once
#include <string>
#include "platform/WinTypes.h"

using WindowProcFn = win::LRESULT (*)(void* user, std::uint32_t message, win::WPARAM wParam, win::LPARAM lParam);

class IWindow {
public:
    virtual ~IWindow() = default;

    // A window whose client area is width × height at the top-left of the screen, not resizable.
    virtual bool Create(const std::string& title, int width, int height, const std::string& iconPath) = 0;
    virtual bool Exists() const = 0;
    // Sends WM_DESTROY through the procedure, then removes the window.
    virtual void Destroy() = 0;

    // The procedure DispatchMessage and SendMessage call; null means DefWindowProc.
    virtual void SetWindowProc(WindowProcFn proc, void* user) = 0;
    virtual win::LRESULT SendMessage(std::uint32_t message, win::WPARAM wParam, win::LPARAM lParam) = 0;
    virtual void DispatchMessage(const win::Msg& msg) = 0;
    // System handling of a message the game did not take.
    virtual win::LRESULT DefWindowProc(std::uint32_t message, win::WPARAM wParam, win::LPARAM lParam) = 0;

    // Non-blocking take of the next message; false when the queue is empty.
    virtual bool PeekMessage(win::Msg& msg) = 0;
    // Blocking take; false once WM_QUIT is taken.
    virtual bool GetMessage(win::Msg& msg) = 0;
    virtual void PostMessage(const win::Msg& msg) = 0;
    // Sleeps until a message can be taken or the seconds have passed, whichever comes first; takes nothing.
    virtual void WaitMessage(double seconds) = 0;
    virtual void PostQuitMessage(int exitCode) = 0;

    // Whether the game window is the one in front (has keyboard focus).
    virtual bool IsForeground() const = 0;
    virtual void GetClientSize(int& width, int& height) const = 0;
    virtual void ShowCursor(bool show) = 0;
    // Desktop full screen with the back buffer scaled to fit, or back to the fixed window.
    virtual void SetFullScreen(bool fullScreen) = 0;
    virtual bool IsFullScreen() const = 0;
    virtual void RedrawMenuBar() {}
};
