#include "platform/window/MessageWindow.h"

void MessageWindow::SetWindowProc(WindowProcFn proc, void* user)
{
    proc_ = proc;
    user_ = user;
}

win::LRESULT MessageWindow::SendMessage(std::uint32_t message, win::WPARAM wParam, win::LPARAM lParam)
{
    if (proc_) return proc_(user_, message, wParam, lParam);
    return DefWindowProc(message, wParam, lParam);
}

void MessageWindow::DispatchMessage(const win::Msg& msg)
{
    SendMessage(msg.message, msg.wParam, msg.lParam);
}

win::LRESULT MessageWindow::DefWindowProc(std::uint32_t message, win::WPARAM wParam, win::LPARAM)
{
    switch (message) {
    case win::WM_CLOSE:
        Destroy();
        return 0;
    case win::WM_SYSCOMMAND:
        if (wParam == win::SC_CLOSE) {
            SendMessage(win::WM_CLOSE, 0, 0);
        } else if (wParam == win::SC_MAXIMIZE) {
            Maximize();
        } else if (wParam == win::SC_SCREENSAVE || wParam == win::SC_MONITORPOWER) {
            AllowScreenSaver();
        }
        return 0;
    case win::WM_SYSKEYDOWN:
        // Alt+F4 is the system's close shortcut.
        if (wParam == win::VK_F4) SendMessage(win::WM_SYSCOMMAND, win::SC_CLOSE, 0);
        return 0;
    default:
        return 0;
    }
}

win::Msg MessageWindow::KeyMessage(bool down, std::uint32_t virtualKey, std::uint32_t modifiers, bool repeat)
{
    const bool sys = (modifiers & win::MOD_ALT_HELD) != 0;
    const std::uint32_t message =
        down ? (sys ? win::WM_SYSKEYDOWN : win::WM_KEYDOWN) : (sys ? win::WM_SYSKEYUP : win::WM_KEYUP);
    return {message, virtualKey, repeat ? 1 : 0, modifiers};
}
