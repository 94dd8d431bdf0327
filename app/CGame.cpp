#include "app/CGame.h"

#include <cstdio>
#include <cstdlib>

#include "app/CInput.h"
#include "app/CRenderDevice.h"
#include "platform/Platform.h"
#include "platform/files/IniFile.h"
#include "platform/graphics/IGraphics.h"
#include "util/StringUtil.h"

std::map<IWindow*, CGame*> windowMap;

namespace {

const char* const kNoDeviceText =
    "このゲームにはDirectX 9.0以上が必要です。\nDirectXの最新版、および最新のドライバが\n"
    "インストールされているかどうかご確認ください。\n";

win::LRESULT LoopWindowProc(void* user, std::uint32_t message, win::WPARAM wParam, win::LPARAM lParam)
{
    IWindow* window = static_cast<IWindow*>(user);
    auto it = windowMap.find(window);
    if (it == windowMap.end()) return window->DefWindowProc(message, wParam, lParam);
    return it->second->WindowProc(message, wParam, lParam);
}

// Time since a baseline: performance counts where the clock has a counter, else milliseconds.
struct Elapsed {
    double count;
    double perSecond;
    bool fromCounter;
    double now;  // the moment read, in seconds on the same clock
    double Seconds() const { return count / perSecond; }
    double Steps(double fps) const { return count * fps / perSecond; }
};

// The loop's one timing read: the performance counter when both queries succeed, else the tick count,
// whose difference is taken as unsigned 32-bit so that its wrap still gives the small step. With rebase
// the baseline moves to now.
Elapsed ReadTimer(IClock* clock, std::int64_t& counter, std::uint32_t& tick, bool rebase)
{
    std::int64_t f = 0, now = 0;
    if (clock->QueryPerformanceFrequency(f) && clock->QueryPerformanceCounter(now) && f > 0) {
        const Elapsed e{static_cast<double>(now - counter), static_cast<double>(f), true,
                        static_cast<double>(now) / static_cast<double>(f)};
        if (rebase) counter = now;
        return e;
    }
    const std::uint32_t t = clock->GetTickCount();
    const Elapsed e{static_cast<double>(static_cast<std::uint32_t>(t - tick)), 1000.0, false, t / 1000.0};
    if (rebase) tick = t;
    return e;
}

double PerSecond(std::uint64_t n, double seconds)
{
    return seconds > 0.0 ? static_cast<double>(n) / seconds : 0.0;
}

}  // namespace

CGame::CGame(const std::string& title_) : title(title_)
{
    Platform& sys = Sys();
    hWnd = sys.window;

    // The executable's directory, trailing backslash kept.
    std::string module = sys.files ? sys.files->GetModuleFileName() : std::string();
    int cut = FindLast(module, "\\");
    baseDir = cut < 0 ? std::string() : module.substr(0, static_cast<size_t>(cut) + 1);

    // The window mode comes from the working directory, not from beside the program.
    std::string settings = (sys.files ? sys.files->GetCurrentDirectory() : std::string()) + "\\Setting.ini";
    fullScreen = GetPrivateProfileInt("ウィンドウモード", "FullScreen", 0, NativePath(settings)) != 0;

    std::string icon = baseDir + "game.ico";
    if (!FileExists(icon)) icon.clear();

    accelerators = {
        {win::VK_ESCAPE, 0, 0},
        {win::VK_F4, 0, 1},
        {win::VK_F1, 0, 2},
        {win::VK_F1, win::MOD_SHIFT_HELD, 3},
    };

    bool haveWindow = hWnd && hWnd->Create(title, windowWidth, windowHeight, icon);
    if (haveWindow) {
        hWnd->SetWindowProc(nullptr, nullptr);
        windowMap[hWnd] = this;
    }

    renderDevice = new CRenderDevice(sys.graphics, haveWindow ? hWnd : nullptr);
    if (!haveWindow || !sys.graphics || !renderDevice->Reset()) {
        if (sys.messageBox) sys.messageBox->Show(haveWindow, kNoDeviceText, title, win::MB_OK);
        ExitProcess(1);
    }
    renderDevice->Clear(0xFF000000u);
    renderDevice->Present();
    if (fullScreen) ApplyDisplayMode();

    input = new CInput(sys.input);
    lastCounter = 0;
    lastTick = 0;
    frameAccumulator = 0.0;
}

CGame::~CGame()
{
    delete input;
    delete renderDevice;
}

void CGame::ApplyDisplayMode()
{
    if (fullScreen) {
        renderDevice->SetWidth(fullScreenWidth);
        renderDevice->SetHeight(fullScreenHeight);
        renderDevice->SetRefreshRate(fullScreenRefresh);
        if (hWnd) hWnd->ShowCursor(false);
    } else {
        renderDevice->SetWidth(windowWidth);
        renderDevice->SetHeight(windowHeight);
        renderDevice->SetRefreshRate(0);
        if (hWnd) hWnd->ShowCursor(true);
    }
    renderDevice->SetFullScreen(fullScreen);
    OnLostDevice();
    if (renderDevice->Reset()) OnResetDevice();
}

win::LRESULT CGame::WindowProc(std::uint32_t message, win::WPARAM wParam, win::LPARAM lParam)
{
    switch (message) {
    case win::WM_DESTROY:
        hWnd->PostQuitMessage(0);
        return 0;
    case win::WM_PAINT:
        Render();
        break;
    case win::WM_CLOSE:
        if (confirmExit) {
            int answer = Sys().messageBox->Show(true, "終了してもよろしいですか？", "終了確認", win::MB_OKCANCEL);
            if (answer != win::IDOK) return 0;
        }
        hWnd->Destroy();
        return 0;
    case win::WM_NCLBUTTONDBLCLK:
        return 0;
    case win::WM_COMMAND:
        switch (wParam & 0xFFFF) {
        case 0:
            hWnd->SendMessage(win::WM_CLOSE, 0, 0);
            return 0;
        case 1:
            return 0;
        default:
            break;
        }
        break;
    case win::WM_SYSCOMMAND:
        if (wParam == win::SC_MAXIMIZE) return 0;
        if (wParam == win::SC_SCREENSAVE || wParam == win::SC_MONITORPOWER) return 0;
        if (wParam == win::SC_KEYMENU) {
            renderDevice->PresentIfOddPage();
            hWnd->RedrawMenuBar();
        }
        break;
    default:
        break;
    }
    return hWnd->DefWindowProc(message, wParam, lParam);
}

bool CGame::TranslateAccelerator(const win::Msg& msg)
{
    if (msg.message != win::WM_KEYDOWN && msg.message != win::WM_SYSKEYDOWN) return false;
    // Alt+F4 and Ctrl+Escape are not F4 and Escape: they go on to the window and the system.
    const std::uint32_t held = msg.modifiers & (win::MOD_SHIFT_HELD | win::MOD_CTRL_HELD | win::MOD_ALT_HELD);
    for (const Accelerator& a : accelerators) {
        if (a.virtualKey == msg.wParam && a.modifiers == held) {
            hWnd->SendMessage(win::WM_COMMAND, static_cast<win::WPARAM>(a.commandId), 0);
            return true;
        }
    }
    return false;
}

void CGame::DispatchLoopMessage(const win::Msg& msg)
{
    if (msg.message == win::WM_QUIT || msg.message == win::WM_NULL) return;
    if (msg.message == win::WM_KEYDOWN && keyTimes.On()) {
        const Elapsed e = ReadTimer(Sys().clock, lastCounter, lastTick, false);
        if (e.fromCounter) keyTimes.KeyDown(e.now);
    }
    if (!TranslateAccelerator(msg)) hWnd->DispatchMessage(msg);
}

void CGame::ResetFrameTimer()
{
    ReadTimer(Sys().clock, lastCounter, lastTick, true);
}

void CGame::TimingStep()
{
    const Elapsed e = ReadTimer(Sys().clock, lastCounter, lastTick, true);
    frameAccumulator += e.Steps(fps);
    // Without a step there is nothing new to show: the frame on screen already holds this state.
    if (frameAccumulator < 1.0) return;
    // When the first owed step fell due: the wake may come a little after.
    const double due = e.now - (frameAccumulator - 1.0) / fps;
    if (e.fromCounter) keyTimes.StepsBegin(e.now);
    int steps = 0;
    if (frameSkip) {
        while (frameAccumulator >= 1.0) {
            ++stats.updates;
            ++steps;
            Update();
            frameAccumulator -= 1.0;
        }
    } else {
        frameAccumulator = 0.0;
        ++stats.updates;
        ++steps;
        Update();
    }
    if (keyTimes.On()) {
        const Elapsed done = ReadTimer(Sys().clock, lastCounter, lastTick, false);
        if (done.fromCounter) keyTimes.StepsEnd(done.now);
    }
    if (e.fromCounter && steps == 1 && pacer.LeaveOutFrame(due, e.now)) {
        ++stats.leftOut;
        return;
    }
    const std::uint64_t framesBefore = stats.frames;
    Render();
    if (e.fromCounter) PlaceNextStep(e.now, e.perSecond, due, stats.frames != framesBefore ? steps : 0);
}

void CGame::PlaceNextStep(double now, double perSecond, double due, int steps)
{
    SwapTimes swap;
    const bool shown = steps > 0 && renderDevice->LastSwap(swap);
    const double drawn = static_cast<double>(swap.drawn) / perSecond;
    const double returned = static_cast<double>(swap.returned) / perSecond;
    if (shown) {
        keyTimes.FrameShown(drawn, returned);
    } else {
        keyTimes.FrameNotShown();
    }
    pacer.SetDisplay(1.0 / fps, renderDevice->GetRefreshRate(), renderDevice->SwapMayWait());
    // A frame after a stall says nothing about where steps fall.
    if (shown && steps == 1) {
        const double nextDue = now + (1.0 - frameAccumulator) / fps;
        const double shift = pacer.FrameShown(due, drawn, returned, nextDue) * fps;
        // A shift moves the next step; it never makes one owed at once.
        if (frameAccumulator + shift < 1.0) frameAccumulator += shift;
    }
    renderDevice->WaitForDrawing(pacer.NeedsDrawnTimes() || keyTimes.On());
}

void CGame::WaitForNextStep()
{
    if (fps <= 0.0) return;
    const double left =
        (1.0 - frameAccumulator) / fps - ReadTimer(Sys().clock, lastCounter, lastTick, false).Seconds();
    if (left > 0.0) hWnd->WaitMessage(left);
}

void CGame::MainLoop()
{
    OnResetDevice();
    hWnd->SetWindowProc(&LoopWindowProc, hWnd);
    const bool report = std::getenv("ZENTHAR_LOOP_STATS") != nullptr;
    if (report) keyTimes.Start(4096);
    pacer.SetDisplay(1.0 / fps, renderDevice->GetRefreshRate(), renderDevice->SwapMayWait());
    renderDevice->WaitForDrawing(pacer.NeedsDrawnTimes() || keyTimes.On());
    const LoopStats start = stats;
    const std::uint64_t shownAtStart = renderDevice->ShownFrameCount();
    std::int64_t startCounter = 0;
    std::uint32_t startTick = 0;
    ReadTimer(Sys().clock, startCounter, startTick, true);

    win::Msg msg;
    ResetFrameTimer();
    while (msg.message != win::WM_QUIT) {
        ++stats.passes;
        if (stopWhenInactive && !hWnd->IsForeground()) {
            hWnd->GetMessage(msg);
            DispatchLoopMessage(msg);
            ResetFrameTimer();
            continue;
        }
        if (hWnd->PeekMessage(msg)) {
            DispatchLoopMessage(msg);
            continue;
        }
        msg = win::Msg();
        TimingStep();
        // Whether or not the display paced the frame (a swap may wait for the vertical blank, return at
        // once, or be skipped for a picture already on show), nothing is due before the next step: sleep
        // in the queue until then instead of spinning, and wake at once for a message.
        WaitForNextStep();
    }

    hWnd->SetWindowProc(nullptr, nullptr);

    // For anyone checking a display: ZENTHAR_LOOP_STATS=1 reports the loop's rates on exit.
    if (report) {
        const double s = ReadTimer(Sys().clock, startCounter, startTick, false).Seconds();
        const std::uint64_t steps = stats.updates - start.updates, passes = stats.passes - start.passes,
                            shown = renderDevice->ShownFrameCount() - shownAtStart;
        std::fprintf(stderr,
                     "loop: %.3f s, %llu steps (%.2f/s), %llu passes (%.2f/s), %llu frames shown (%.2f/s)\n", s,
                     static_cast<unsigned long long>(steps), PerSecond(steps, s),
                     static_cast<unsigned long long>(passes), PerSecond(passes, s),
                     static_cast<unsigned long long>(shown), PerSecond(shown, s));
        static const char* const kStates[] = {"off", "learning", "locked", "blind"};
        std::fprintf(stderr, "pacing: %s, margin %.1f ms, drawing %.1f ms, %llu frames left out\n",
                     kStates[static_cast<int>(pacer.GetState())], pacer.Margin() * 1000.0,
                     pacer.DrawingTime() * 1000.0, static_cast<unsigned long long>(stats.leftOut - start.leftOut));
        const std::string keys = keyTimes.Report();
        if (!keys.empty()) std::fprintf(stderr, "%s\n", keys.c_str());
    }
}

void CGame::Render()
{
    switch (renderDevice->TestCooperativeLevel()) {
    case CoopLevel::DeviceLost:
        Sys().clock->Sleep(50);
        return;
    case CoopLevel::DeviceNotReset:
        OnLostDevice();
        if (renderDevice->Reset()) OnResetDevice();
        return;
    case CoopLevel::Ok:
        break;
    }
    ++stats.frames;
    renderDevice->BeginScene();
    Draw();
    renderDevice->EndScene();
    renderDevice->Present();
}
