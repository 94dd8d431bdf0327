// Clock, message boxes and files on the real system.
#pragma once
#include "platform/IClock.h"
#include "platform/HostFileSystem.h"
#include "platform/IMessageBox.h"

namespace sdl {

class Window;

class Clock : public IClock {
public:
    bool QueryPerformanceFrequency(std::int64_t& f) override;
    bool QueryPerformanceCounter(std::int64_t& c) override;
    std::uint32_t GetTickCount() override;
    void Sleep(std::uint32_t ms) override;
};

class MessageBoxes : public IMessageBox {
public:
    explicit MessageBoxes(Window* window) : window_(window) {}
    int Show(bool owned, const std::string& text, const std::string& caption, unsigned style) override;

private:
    Window* window_;
};

using FileSystem = HostFileSystem;

}  // namespace sdl
