#include "platform/window/HeadlessWindow.h"

namespace headless {

namespace {

// A script that never ends the loop must not hang the test run forever.
constexpr std::uint64_t kIdleLimit = 50'000'000;

}  // namespace

bool Window::Create(const std::string& title_, int w, int h, const std::string& icon)
{
    if (failCreate) return false;
    exists = true;
    title = title_;
    width = w;
    height = h;
    iconPath = icon;
    // Asked once; the game's answer decides whether the screen saver may run.
    queue.push_back({win::WM_SYSCOMMAND, win::SC_SCREENSAVE, 0, 0});
    return true;
}

void Window::Destroy()
{
    if (!exists) return;
    SendMessage(win::WM_DESTROY, 0, 0);
    exists = false;
}

void Window::SetWindowProc(WindowProcFn proc, void* user)
{
    proc_ = proc;
    user_ = user;
}

win::LRESULT Window::SendMessage(std::uint32_t message, win::WPARAM wParam, win::LPARAM lParam)
{
    handled.push_back(message);
    if (proc_) return proc_(user_, message, wParam, lParam);
    return DefWindowProc(message, wParam, lParam);
}

void Window::DispatchMessage(const win::Msg& msg)
{
    SendMessage(msg.message, msg.wParam, msg.lParam);
}

win::LRESULT Window::DefWindowProc(std::uint32_t message, win::WPARAM wParam, win::LPARAM)
{
    switch (message) {
    case win::WM_CLOSE:
        Destroy();
        return 0;
    case win::WM_SYSCOMMAND:
        if (wParam == win::SC_CLOSE) SendMessage(win::WM_CLOSE, 0, 0);
        if (wParam == win::SC_MAXIMIZE) maximized = true;
        if (wParam == win::SC_SCREENSAVE || wParam == win::SC_MONITORPOWER) screenSaverAllowed = true;
        return 0;
    case win::WM_SYSKEYDOWN:
        if (wParam == win::VK_F4) SendMessage(win::WM_SYSCOMMAND, win::SC_CLOSE, 0);
        return 0;
    default:
        return 0;
    }
}

bool Window::PeekMessage(win::Msg& msg)
{
    if (queue.empty() && onIdle) onIdle();
    if (queue.empty()) {
        if (++idleCalls_ > kIdleLimit) PostQuitMessage(0);
        return false;
    }
    msg = queue.front();
    queue.pop_front();
    return true;
}

bool Window::GetMessage(win::Msg& msg)
{
    while (queue.empty()) {
        if (onIdle) onIdle();
        if (queue.empty() && ++idleCalls_ > kIdleLimit) PostQuitMessage(0);
    }
    msg = queue.front();
    queue.pop_front();
    return msg.message != win::WM_QUIT;
}

void Window::WaitMessage(double seconds)
{
    ++waits;
    lastWait = seconds;
    if (clock && queue.empty()) clock->Advance(seconds);
}

void Window::PostQuitMessage(int exitCode)
{
    quitCode = exitCode;
    queue.push_back({win::WM_QUIT, static_cast<win::WPARAM>(exitCode), 0, 0});
}

void Window::GetClientSize(int& w, int& h) const
{
    w = exists ? width : 0;
    h = exists ? height : 0;
}

void Window::PressKey(std::uint32_t vk, std::uint32_t modifiers)
{
    // With Alt held they are system keys, as on the real back end.
    const bool sys = (modifiers & win::MOD_ALT_HELD) != 0;
    queue.push_back({sys ? win::WM_SYSKEYDOWN : win::WM_KEYDOWN, vk, 0, modifiers});
    queue.push_back({sys ? win::WM_SYSKEYUP : win::WM_KEYUP, vk, 0, modifiers});
}

}  // namespace headless
