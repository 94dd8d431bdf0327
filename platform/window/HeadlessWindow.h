// A window with no display: the test posts its messages, sets its focus and scripts its idle passes.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/clock/HeadlessClock.h"
#include "platform/window/MessageWindow.h"

namespace headless {

class Window : public MessageWindow {
public:
    bool Create(const std::string& title, int width, int height, const std::string& iconPath) override;
    bool Exists() const override { return exists; }
    void Destroy() override;
    // Records the message, then routes it as the real back end does.
    win::LRESULT SendMessage(std::uint32_t message, win::WPARAM wParam, win::LPARAM lParam) override;
    bool PeekMessage(win::Msg& msg) override;
    bool GetMessage(win::Msg& msg) override;
    void PostMessage(const win::Msg& msg) override { queue.push_back(msg); }
    // Records the wait. With a clock given and the queue empty the seconds pass on it (nothing else can
    // post meanwhile); otherwise it returns at once, as if a message had come.
    void WaitMessage(double seconds) override;
    void PostQuitMessage(int exitCode) override;
    bool IsForeground() const override { return exists && foreground; }
    void GetClientSize(int& w, int& h) const override;
    void ShowCursor(bool show) override { cursorVisible = show; }
    void SetFullScreen(bool f) override { fullScreen = f; }
    bool IsFullScreen() const override { return fullScreen; }

    // Key press as the real back end posts it (WM_KEYDOWN with the virtual key).
    void PressKey(std::uint32_t virtualKey, std::uint32_t modifiers = 0);

    // Called whenever the loop finds the queue empty (peek) or would block (get); the test's script.
    std::function<void()> onIdle;

    bool failCreate = false;
    bool exists = false;
    bool foreground = true;
    bool fullScreen = false;
    bool cursorVisible = true;
    bool screenSaverAllowed = false;
    bool maximized = false;
    std::string title;
    std::string iconPath;
    int width = 0, height = 0;
    int quitCode = 0;
    std::deque<win::Msg> queue;
    std::vector<std::uint32_t> handled;  // every message that reached the procedure
    int waits = 0;                       // WaitMessage calls, and the seconds the last one asked for
    double lastWait = 0.0;
    Clock* clock = nullptr;

protected:
    void Maximize() override { maximized = true; }
    void AllowScreenSaver() override { screenSaverAllowed = true; }

private:
    std::uint64_t idleCalls_ = 0;
};

}  // namespace headless
