// Deterministic, display-free back end: the test drives clock, messages, focus, keys and answers.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/AssimpMeshLoader.h"
#include "platform/HostFileSystem.h"
#include "platform/Platform.h"
#include "platform/headless/HeadlessMeshRenderer.h"
#include "platform/headless/HeadlessAudio.h"
#include "platform/headless/HeadlessGraphics.h"
#include "platform/headless/HeadlessInput.h"

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
    bool echo = false;        // also print each box on stderr, where a death test can match it
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
    // Returns at once, as if a message had come; the test's clock does not move. Records the wait.
    void WaitMessage(double seconds) override
    {
        ++waits;
        lastWait = seconds;
    }
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

private:
    WindowProcFn proc_ = nullptr;
    void* user_ = nullptr;
    std::uint64_t idleCalls_ = 0;
};

class FileSystem : public HostFileSystem {
public:
    std::string GetModuleFileName() override;
    std::string GetCurrentDirectory() override;
    // Backslash forms; empty means the real process values.
    std::string moduleFileName;
    std::string currentDirectory;
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
    MeshRenderer meshes{&graphics};
    AssimpMeshLoader meshLoader;
};

HeadlessPlatform& Install();

}  // namespace headless
