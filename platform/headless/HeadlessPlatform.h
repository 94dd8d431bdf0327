// Deterministic, display-free back end: the test drives clock, messages, focus, keys and answers.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/IGraphics.h"
#include "platform/IInput.h"
#include "platform/Platform.h"
#include "platform/headless/HeadlessAudio.h"

namespace headless {

class Clock : public IClock {
public:
    bool QueryPerformanceFrequency(std::int64_t& f) override;
    bool QueryPerformanceCounter(std::int64_t& c) override;
    std::uint32_t GetTickCount() override { return tick; }
    void Sleep(std::uint32_t ms) override;
    // Moves both the counter and the tick by the given seconds.
    void Advance(double seconds);

    bool hasPerformanceCounter = true;
    std::int64_t frequency = 1000000;
    std::int64_t counter = 0;
    std::uint32_t tick = 0;
    std::uint32_t sleptMs = 0;
};

struct RecordedBox {
    bool owned;
    std::string text;
    std::string caption;
    unsigned style;
};

class MessageBoxes : public IMessageBox {
public:
    int Show(bool owned, const std::string& text, const std::string& caption, unsigned style) override;
    std::vector<RecordedBox> shown;
    std::deque<int> answers;  // taken in order; IDOK when empty
};

class Window : public IWindow {
public:
    bool Create(const std::string& title, int width, int height, const std::string& iconPath) override;
    bool Exists() const override { return exists; }
    void Destroy() override;
    void SetWindowProc(WindowProcFn proc, void* user) override;
    win::LRESULT SendMessage(std::uint32_t message, win::WPARAM wParam, win::LPARAM lParam) override;
    void DispatchMessage(const win::Msg& msg) override;
    win::LRESULT DefWindowProc(std::uint32_t message, win::WPARAM wParam, win::LPARAM lParam) override;
    bool PeekMessage(win::Msg& msg) override;
    bool GetMessage(win::Msg& msg) override;
    void PostMessage(const win::Msg& msg) override { queue.push_back(msg); }
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

private:
    WindowProcFn proc_ = nullptr;
    void* user_ = nullptr;
    std::uint64_t idleCalls_ = 0;
};

class FileSystem : public IFileSystem {
public:
    std::string GetModuleFileName() override;
    std::string GetCurrentDirectory() override;
    bool FileExists(const std::string& pattern) override;
    // Backslash forms; empty means the real process values.
    std::string moduleFileName;
    std::string currentDirectory;
};

struct DeviceEvents {
    int resets = 0;
    int clears = 0;
    int scenes = 0;
    int presents = 0;
};

class Graphics : public IGraphics {
public:
    bool Reset(const PresentParams& params) override;
    bool HasDevice() const override { return created; }
    void ReleaseDevice() override { created = false; }
    CoopLevel TestCooperativeLevel() override { return created ? coopLevel : CoopLevel::DeviceLost; }
    bool GetBackBufferSize(int& w, int& h) override;
    bool GetDisplayRefreshRate(int& hz) override;
    void SetViewport(const Viewport& v) override { viewport = v; }
    void Clear(std::uint32_t argb, float depth) override;
    bool BeginScene() override;
    void EndScene() override { inScene = false; }
    bool Present() override;

    bool failCreate = false;
    bool failReset = false;
    bool failPresent = false;
    bool created = false;
    CoopLevel coopLevel = CoopLevel::Ok;
    int refreshRate = 0;  // what the display reports; 0 = unknown
    PresentParams params;
    Viewport viewport;
    bool inScene = false;
    std::uint32_t lastClearColour = 0;
    DeviceEvents events;
};

class Input : public IInput {
public:
    bool AcquireKeyboard() override;
    bool ReadKeyboard(std::uint8_t keys[256]) override;
    int JoystickCount() override { return static_cast<int>(joysticks.size()); }
    bool AcquireJoystick(int index) override;
    bool ReadJoystick(int index, JoystickReading& reading) override;

    void SetKey(int dik, bool held) { keys[dik & 0xFF] = held ? 0x80 : 0; }
    void ReleaseAllKeys();

    struct Pad {
        bool attached = true;
        JoystickReading reading;
    };
    std::uint8_t keys[256] = {};
    std::vector<Pad> joysticks;
    IWindow* window = nullptr;  // input is only had while this window is in front
};

// Installs the back end into Sys() and returns it; replaces any earlier install.
class HeadlessPlatform {
public:
    Clock clock;
    MessageBoxes messageBoxes;
    Window window;
    FileSystem files;
    Graphics graphics;
    Input input;
    Audio audio;
};

HeadlessPlatform& Install();

}  // namespace headless
