#include "platform/window/HeadlessWindow.h"

#include <cmath>

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

win::LRESULT Window::SendMessage(std::uint32_t message, win::WPARAM wParam, win::LPARAM lParam)
{
    handled.push_back(message);
    return MessageWindow::SendMessage(message, wParam, lParam);
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
    // A wait never ends early: at least the whole counts the seconds cover.
    if (clock && queue.empty()) {
        const double f = static_cast<double>(clock->frequency);
        clock->Advance(std::ceil(seconds * f) / f);
    }
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
    queue.push_back(KeyMessage(true, vk, modifiers, false));
    queue.push_back(KeyMessage(false, vk, modifiers, false));
}

}  // namespace headless
