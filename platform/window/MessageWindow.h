// The window-message protocol both window back ends share: the procedure's routing and the system's
// handling of what the game leaves to it (close, Alt+F4, system commands).
#pragma once
#include <cstdint>

#include "platform/window/IWindow.h"

class MessageWindow : public IWindow {
public:
    void SetWindowProc(WindowProcFn proc, void* user) override;
    win::LRESULT SendMessage(std::uint32_t message, win::WPARAM wParam, win::LPARAM lParam) override;
    void DispatchMessage(const win::Msg& msg) override;
    win::LRESULT DefWindowProc(std::uint32_t message, win::WPARAM wParam, win::LPARAM lParam) override;

protected:
    // What the system does when the game lets a maximise or screen-saver request through.
    virtual void Maximize() = 0;
    virtual void AllowScreenSaver() = 0;

    // A key press or release as the system posts it: with Alt held, a system key.
    static win::Msg KeyMessage(bool down, std::uint32_t virtualKey, std::uint32_t modifiers, bool repeat);

private:
    WindowProcFn proc_ = nullptr;
    void* user_ = nullptr;
};
