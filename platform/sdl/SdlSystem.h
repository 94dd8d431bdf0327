// Clock, message boxes and files on the real system.
#pragma once
#include "platform/IClock.h"
#include "platform/IFileSystem.h"
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

class FileSystem : public IFileSystem {
public:
    std::string GetModuleFileName() override;
    std::string GetCurrentDirectory() override;
    bool FileExists(const std::string& pattern) override;
};

}  // namespace sdl
