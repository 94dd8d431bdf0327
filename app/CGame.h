// Reusable application frame: window, render device, input and the fixed-rate main loop.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "app/KeyTimes.h"
#include "app/StepPacer.h"
#include "platform/WinTypes.h"

class CInput;
class CRenderDevice;
class IWindow;

// Counts of what the loop ran, for measuring its rate.
struct LoopStats {
    std::uint64_t updates = 0;
    std::uint64_t frames = 0;  // frames drawn; the device counts those that reached the window
    std::uint64_t passes = 0;
    std::uint64_t leftOut = 0;  // frames not drawn because their step came too late for its blank
};

// A virtual-key accelerator: the key with exactly these MOD_* modifiers held, no more, no fewer.
struct Accelerator {
    std::uint32_t virtualKey;
    std::uint32_t modifiers;
    int commandId;
};

class CGame {
public:
    explicit CGame(const std::string& title);
    ~CGame();  // not virtual: the entry destroys the game through its most derived type
    CGame(const CGame&) = delete;
    CGame& operator=(const CGame&) = delete;

    virtual win::LRESULT WindowProc(std::uint32_t message, win::WPARAM wParam, win::LPARAM lParam);
    virtual void Update() {}
    virtual void Draw() {}
    virtual void OnLostDevice() {}
    virtual void OnResetDevice() {}

    void MainLoop();
    void ResetFrameTimer();
    void Render();
    void ApplyDisplayMode();
    // One pass of the loop's idle path: timing step, then the owed updates and a frame if any were owed;
    // where the display shows its blanks, the next step is moved a little towards its place before one.
    void TimingStep();
    // Sleeps in the message queue until the next step is due; a message ends the wait at once.
    void WaitForNextStep();

    std::vector<Accelerator> accelerators;
    IWindow* hWnd = nullptr;
    CInput* input = nullptr;
    std::string baseDir;
    std::string title;
    std::int64_t lastCounter = 0;
    std::uint32_t lastTick = 0;
    double frameAccumulator = 0.0;
    bool confirmExit = true;
    int windowWidth = 800;
    int windowHeight = 600;
    int fullScreenWidth = 800;
    int fullScreenHeight = 600;
    int fullScreenRefresh = 60;
    bool fullScreen = false;
    CRenderDevice* renderDevice = nullptr;
    double fps = 60.0;
    bool frameSkip = true;
    bool stopWhenInactive = true;
    LoopStats stats;
    StepPacer pacer;
    KeyTimes keyTimes;  // kept only for ZENTHAR_LOOP_STATS

private:
    // After a step's frame: learns from its swap and shifts the next step; steps = how many the frame followed,
    // 0 when nothing was presented.
    void PlaceNextStep(double now, double perSecond, double due, int steps);
    void DispatchLoopMessage(const win::Msg& msg);
    bool TranslateAccelerator(const win::Msg& msg);
};

// Window to game object, for the loop-time window procedure; entries are never removed.
extern std::map<IWindow*, CGame*> windowMap;
