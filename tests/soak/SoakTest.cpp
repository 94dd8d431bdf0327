// Long hostile play on the headless back end: random and held keys, menus, deaths, restarts, pauses,
// joystick noise, lost focus and lost devices, with every pool checked after every step, the heap flat
// over the second half and the game root untouched. ZENTHAR_SOAK_STEPS sets the length (an hour is
// 216000); ZENTHAR_SOAK_SEED replays a run.
#include <gtest/gtest.h>

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>

#include "app/CQovGame.h"
#include "app/Entry.h"
#include "baddata/GameRoot.h"
#include "game/CBackGround.h"
#include "game/CMobTask.h"
#include "game/CPlayer.h"
#include "platform/HeadlessPlatform.h"
#include "platform/WinTypes.h"
#include "support/GameTestSupport.h"
#include "task/CTask.h"
#include "task/TaskPool.h"

#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)
#define ZENTHAR_SOAK_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZENTHAR_SOAK_ASAN 1
#endif
#endif
#ifdef ZENTHAR_SOAK_ASAN
// Declared here: GCC's runtime has the function but ships no header for it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

long EnvNumber(const char* name, long fallback)
{
    const char* text = std::getenv(name);
    if (!text || !*text) return fallback;
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    return (end && *end == '\0' && v > 0) ? v : fallback;
}

// Bytes the program holds on the heap now (the sanitizer's allocator when it replaces malloc).
std::size_t HeapInUse()
{
#ifdef ZENTHAR_SOAK_ASAN
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
#endif
}

long ResidentKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

// A free node keeps the link to the next free node in its first bytes.
const CTask* FreeLink(const CTask* node)
{
    const CTask* next;
    std::memcpy(&next, static_cast<const void*>(node), sizeof next);
    return next;
}

// The pool's own check, and beyond it: every live task and every free node is a distinct node of the
// pool's block, so no node is handed out twice or both live and free. Empty when sound.
std::string PoolFault(const TaskPool& pool)
{
    if (!pool.CheckInvariants()) return "ring or free list disagrees with the counts";
    const auto base = reinterpret_cast<std::uintptr_t>(pool.Node(0));
    const std::uintptr_t nodes = static_cast<std::uintptr_t>(pool.capacity) + 2;
    std::vector<char> seen(nodes, 0);
    auto claim = [&](const CTask* n) -> const char* {
        const auto p = reinterpret_cast<std::uintptr_t>(n);
        if (p < base || (p - base) % pool.elementSize != 0 || (p - base) / pool.elementSize >= nodes)
            return "a node outside the pool's block";
        if (n == pool.liveHead || n == pool.freeHead) return "a sentinel inside a list";
        if (seen[(p - base) / pool.elementSize]++) return "a node on the lists twice";
        return nullptr;
    };
    for (const CTask* t = pool.liveHead->next; t != pool.liveHead; t = t->next) {
        if (const char* why = claim(t)) return std::string("live ring: ") + why;
    }
    for (const CTask* f = FreeLink(pool.freeHead); f != pool.freeHead; f = FreeLink(f)) {
        if (const char* why = claim(f)) return std::string("free list: ") + why;
    }
    return {};
}

template <class T>
T* First(TaskPool* pool)
{
    TaskIter it(pool);
    return it.HasNext() ? static_cast<T*>(it.Next()) : nullptr;
}

// Pad 0's keys (DIK codes) and the pad buttons they feed.
constexpr int kUp = 0x1F, kDown = 0x2D, kLeft = 0x2C, kRight = 0x2E;
constexpr int kButtonKeys[9][2] = {{0x2F, 0},    {0x20, 0x1C}, {0x21, 0}, {0x22, 0}, {0x30, 0},
                                   {0x23, 0},    {0x39, 0},    {0x31, 0}, {0x32, 0}};
constexpr int kPlayerKeys[] = {kUp, kDown, kLeft, kRight, 0x2F, 0x20, 0x1C, 0x21, 0x22, 0x30, 0x23, 0x39, 0x31, 0x32};

enum class Mode { Idle, Mash, HoldAll, Menu, Dive, Survive, PauseStorm, Count };
const char* const kModeNames[] = {"idle", "mash", "hold-all", "menu", "dive", "survive", "pause-storm"};

struct Figures {
    long steps = 0;
    long frames = 0;
    long scenes[6] = {};  // entries into each scene value
    long deaths = 0, restarts = 0, stageClears = 0, gameClears = 0;
    long pauseToggles = 0, optionBoxes = 0, otherBoxes = 0;
    long focusLosses = 0, deviceLosses = 0, hotPlugs = 0, soundsPlayed = 0;
    long modeSteps[static_cast<int>(Mode::Count)] = {};
    int peak[15] = {};
    std::string lastOtherBox;
};

class Soak {
public:
    Soak(CQovGame* game, headless::HeadlessPlatform& h, long steps, unsigned seed)
        : game_(game), h_(h), steps_(steps), rng_(seed)
    {
        pools_ = {game->poolPlayer,     game->poolBullet,    game->poolBulletS,      game->poolEffect,
                  game->poolPause,      game->poolStage,     game->poolEnemyZako,    game->poolEnemyShot,
                  game->poolEnemyStrong, game->poolEnemyBullet, game->poolBoss1,     game->poolBoss2,
                  game->poolBossF,      game->poolEControl,  game->poolBackGround};
        // The back end's own records must not grow inside the measured half.
        h_.graphics.quads.reserve(1 << 15);
        h_.graphics.texts.reserve(1 << 10);
        h_.audio.played.reserve(1 << 12);
        h_.messageBoxes.shown.reserve(64);
        h_.input.joysticks.reserve(64);
        h_.input.AttachJoystick();
    }

    // Runs every step; false (with the reason) at the first unsound pool.
    bool Run(std::string& fault, std::size_t& heapAtHalf, std::size_t& heapAtEnd, long& rssAtHalf, long& rssAtEnd)
    {
        int scene = game_->sceneState;
        bool paused = game_->paused;
        for (long step = 0; step < steps_; ++step) {
            if (step == steps_ / 2) {
                heapAtHalf = HeapInUse();
                rssAtHalf = ResidentKb();
            }
            ChooseInput(step);
            PlatformEvents();
            game_->Update();
            ++figures.steps;
            for (std::size_t i = 0; i < pools_.size(); ++i) {
                const std::string why = PoolFault(*pools_[i]);
                if (!why.empty()) {
                    fault = "step " + std::to_string(step) + ", pool " + std::to_string(i + 1) + ": " + why;
                    return false;
                }
                figures.peak[i] = std::max(figures.peak[i], pools_[i]->LiveCount());
            }
            Render();
            Observe(scene, paused);
        }
        heapAtEnd = HeapInUse();
        rssAtEnd = ResidentKb();
        return true;
    }

    Figures figures;

private:
    bool Chance(double p) { return std::uniform_real_distribution<double>(0.0, 1.0)(rng_) < p; }
    int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    bool InStage() const { return game_->sceneState == SCENE_STAGE1 || game_->sceneState == SCENE_STAGE2; }
    void Key(int dik, bool held = true) { h_.input.SetKey(dik, held); }

    void ChooseInput(long step)
    {
        if (--modeLeft_ <= 0) {
            mode_ = static_cast<Mode>(Uniform(0, static_cast<int>(Mode::Count) - 1));
            // Every game and every restart plays stage 1 from its start, so the bosses are reached only by
            // unbroken play: the last quarter survives throughout, the rest dies often.
            const bool lastQuarter = step >= steps_ * 3 / 4;
            if (mode_ == Mode::Survive && !lastQuarter) mode_ = Mode::Dive;
            if (lastQuarter) mode_ = Mode::Survive;
            modeLeft_ = Uniform(30, 900);
            target_ = Uniform(0, 9);
        }
        ++figures.modeSteps[static_cast<int>(mode_)];
        h_.input.ReleaseAllKeys();
        JoystickReading& pad = h_.input.joysticks[0].reading;
        pad = JoystickReading();

        switch (mode_) {
        case Mode::Idle:
            break;
        case Mode::Mash:
            for (int k : kPlayerKeys) {
                if (Chance(0.08)) mash_[k & 0xFF] = !mash_[k & 0xFF];
                Key(k, mash_[k & 0xFF]);
            }
            if (Chance(0.3)) {
                // A broken driver's readings, far outside the range asked for.
                pad.axisX = static_cast<std::int32_t>(rng_());
                pad.axisY = static_cast<std::int32_t>(rng_());
                for (auto& b : pad.buttons) b = static_cast<std::uint8_t>(rng_());
            }
            break;
        case Mode::HoldAll:
            std::memset(h_.input.keys, 0x80, sizeof h_.input.keys);
            pad.axisX = 1000;
            pad.axisY = -1000;
            std::memset(pad.buttons, 0x80, sizeof pad.buttons);
            break;
        case Mode::Menu:
            if (InStage()) Wander(0.5);
            else Navigate();
            break;
        case Mode::Dive:
            if (InStage()) Dive();
            else Navigate();
            break;
        case Mode::Survive:
            if (InStage()) Survive();
            else Navigate();
            break;
        case Mode::PauseStorm:
            Wander(0.7);
            if (step % (1 + target_ * 4) == 0) pauseHeld_ = !pauseHeld_;
            Key(kButtonKeys[6][0], pauseHeld_);
            break;
        case Mode::Count:
            break;
        }
        MaskGameEnd();
    }

    // Random moves, firing some of the time.
    void Wander(double fire)
    {
        if (Chance(0.05)) direction_ = Uniform(0, 8);
        static const int dirs[9][2] = {{0, 0}, {1, 0}, {-1, 0}, {0, 1}, {0, -1}, {1, 1}, {1, -1}, {-1, 1}, {-1, -1}};
        if (dirs[direction_][0] > 0) Key(kRight);
        if (dirs[direction_][0] < 0) Key(kLeft);
        if (dirs[direction_][1] > 0) Key(kDown);
        if (dirs[direction_][1] < 0) Key(kUp);
        if (Chance(fire)) Key(DecideKey());
        if (Chance(0.1)) Key(kButtonKeys[0][0]);
    }

    void SteerTo(float x, float y)
    {
        const float px = game_->playerX, py = game_->playerY;
        if (x > px + 4) Key(kRight);
        if (x < px - 4) Key(kLeft);
        if (y > py + 4) Key(kDown);
        if (y < py - 4) Key(kUp);
    }

    // Into the nearest enemy or enemy shot: deaths come quickly.
    void Dive()
    {
        const CMobTask* best = nullptr;
        float bestDistance = 1e30f;
        for (TaskPool* pool : {game_->poolEnemyBullet, game_->poolEnemyZako, game_->poolEnemyShot,
                               game_->poolEnemyStrong, game_->poolBoss1, game_->poolBoss2}) {
            TaskIter it(pool);
            while (it.HasNext()) {
                const auto* m = static_cast<const CMobTask*>(it.Next());
                const float d = std::fabs(m->x - game_->playerX) + std::fabs(m->y - game_->playerY);
                if (d < bestDistance) {
                    bestDistance = d;
                    best = m;
                }
            }
        }
        if (best) SteerTo(best->x, best->y);
        else Wander(0.0);
        if (Chance(0.5)) Key(DecideKey());
    }

    // Kept alive and firing under the boss, so play goes on to the bosses and the second stage.
    void Survive()
    {
        if (game_->paused) {
            if (step_++ & 1) Key(ButtonKey(game_->joyButtonMap[9][0]));
            return;
        }
        if (CPlayer* p = First<CPlayer>(game_->poolPlayer)) p->energy = 100;
        Key(DecideKey());
        if (game_->poolBoss1->LiveCount() || game_->poolBoss2->LiveCount()) {
            SteerTo(game_->bossX + 32.0f, 480.0f);
        } else {
            Wander(1.0);
        }
    }

    // Walks the pointer with taps to a menu item, then decides; Game_End is never the target.
    void Navigate()
    {
        CBackGround* bg = First<CBackGround>(game_->poolBackGround);
        if (!bg || (step_++ & 1)) return;  // released every other step, so each tap is a new press
        if (game_->sceneState == SCENE_TITLE) {
            const int want = target_ < 7 ? 30 : 190;  // mostly Game_Start, sometimes Option
            const bool right = bg->pointerX == 410 ? want == 30 : bg->pointerX < want;
            if (bg->pointerX != want) Key(right ? kRight : kLeft);
            else Key(DecideKey());
        } else if (game_->sceneState == SCENE_GAME_OVER) {
            if (bg->pointerY != 365) Key(kDown);
            else Key(DecideKey());
        }
    }

    int DecideButton() const { return game_->joyButtonMap[2][0]; }
    static int ButtonKey(int b) { return b >= 0 && b < 9 ? kButtonKeys[b][0] : 0; }
    int DecideKey() const { return ButtonKey(DecideButton()); }

    // Game_End ends the process; whatever is held, decide never reaches it.
    void MaskGameEnd()
    {
        CBackGround* bg = First<CBackGround>(game_->poolBackGround);
        if (!bg || bg->resetPointer) return;
        const bool onEnd = (game_->sceneState == SCENE_TITLE && bg->pointerX == 410) ||
                           (game_->sceneState == SCENE_GAME_OVER && bg->pointerY == 435);
        if (!onEnd) return;
        const int b = DecideButton();
        if (b >= 0 && b < 9) {
            for (int k : kButtonKeys[b])
                if (k) Key(k, false);
        }
        for (auto& joystick : h_.input.joysticks) {
            if (b >= 0 && b <= 32) joystick.reading.buttons[b] = 0;
        }
    }

    void PlatformEvents()
    {
        headless::Window& w = h_.window;
        if (focusLeft_ > 0 && --focusLeft_ == 0) w.foreground = true;
        if (focusLeft_ == 0 && Chance(1.0 / 3000)) {
            w.foreground = false;
            focusLeft_ = Uniform(1, 200);
            ++figures.focusLosses;
        }
        headless::Graphics& g = h_.graphics;
        if (lostLeft_ > 0) {
            if (--lostLeft_ == 0) {
                g.coopLevel = CoopLevel::DeviceNotReset;
                g.failReset = Chance(0.5);
            }
        } else if (g.coopLevel == CoopLevel::DeviceNotReset && g.failReset && Chance(0.2)) {
            g.failReset = false;
        } else if (g.coopLevel == CoopLevel::Ok && Chance(1.0 / 4000)) {
            g.coopLevel = CoopLevel::DeviceLost;
            lostLeft_ = Uniform(1, 120);
            ++figures.deviceLosses;
        }
        // Controllers pulled out and plugged in, within the room reserved for them.
        if (Chance(1.0 / 5000) && h_.input.joysticks.size() < h_.input.joysticks.capacity()) {
            if (Chance(0.5)) h_.input.DetachJoystick(Uniform(1, static_cast<int>(h_.input.joysticks.size())) - 1);
            else h_.input.AttachJoystick();
            if (!h_.input.joysticks[0].attached) h_.input.joysticks[0].attached = true;
            ++figures.hotPlugs;
        }
    }

    // Usually one frame a step; sometimes a slow frame owes several steps, sometimes a paint adds one.
    void Render()
    {
        if (renderSkip_ > 0) {
            --renderSkip_;
            return;
        }
        if (Chance(0.01)) renderSkip_ = Uniform(1, 3);
        game_->Render();
        ++figures.frames;
        if (Chance(0.002)) {
            game_->WindowProc(win::WM_PAINT, 0, 0);
            ++figures.frames;
        }
        if (Chance(0.0005)) game_->WindowProc(win::WM_SYSCOMMAND, win::SC_KEYMENU, 0);
        if (Chance(0.0005)) game_->WindowProc(win::WM_NCLBUTTONDBLCLK, 0, 0);
    }

    void Observe(int& scene, bool& paused)
    {
        const int now = game_->sceneState;
        if (now != scene) {
            if (now >= 0 && now < 6) ++figures.scenes[now];
            if (now == SCENE_GAME_OVER) ++figures.deaths;
            if (scene == SCENE_GAME_OVER && now == SCENE_STAGE1) ++figures.restarts;
            if (scene == SCENE_STAGE1 && now == SCENE_STAGE2) ++figures.stageClears;
            if (scene == SCENE_STAGE2 && now == SCENE_TITLE) ++figures.gameClears;
            scene = now;
        }
        if (game_->paused != paused) {
            paused = game_->paused;
            ++figures.pauseToggles;
        }
        for (const headless::RecordedBox& box : h_.messageBoxes.shown) {
            if (box.caption == "オプション" && box.text == "未実装です") {
                ++figures.optionBoxes;
            } else {
                ++figures.otherBoxes;
                figures.lastOtherBox = box.caption + ": " + box.text;
            }
        }
        h_.messageBoxes.shown.clear();
        figures.soundsPlayed += static_cast<long>(h_.audio.played.size());
        h_.audio.played.clear();
    }

    CQovGame* game_;
    headless::HeadlessPlatform& h_;
    long steps_;
    std::mt19937 rng_;
    std::vector<TaskPool*> pools_;
    // The run opens on the title asking for Option, then plays.
    Mode mode_ = Mode::Menu;
    int modeLeft_ = 300;
    int target_ = 9;
    int direction_ = 0;
    long step_ = 0;
    bool mash_[256] = {};
    bool pauseHeld_ = false;
    int focusLeft_ = 0;
    int lostLeft_ = 0;
    int renderSkip_ = 0;
};

TEST(SoakTest, HostilePlayKeepsEveryPoolSoundAndTheHeapFlat)
{
    const long steps = EnvNumber("ZENTHAR_SOAK_STEPS", 20000);
    const unsigned seed = static_cast<unsigned>(EnvNumber("ZENTHAR_SOAK_SEED", 20240611));
    const auto root = gameroot::CopyStaged("soak");
    const gameroot::Snapshot before = gameroot::Take(root);

    Figures f;
    std::string fault;
    std::size_t heapHalf = 0, heapEnd = 0;
    long rssHalf = 0, rssEnd = 0;
    double seconds = 0;
    {
        gameroot::WorkingDirectory cwd(root);
        headless::HeadlessPlatform& h = headless::Install();
        h.files.moduleFileName = testsupport::GamePath((root / "bin" / "zenthar").string());
        h.files.currentDirectory = testsupport::GamePath(root.string());
        CQovGame* game = CreateGame();
        std::srand(seed);  // the game's own choices replay with the input
        game->OnResetDevice();

        const auto start = std::chrono::steady_clock::now();
        Soak soak(game, h, steps, seed);
        const bool sound = soak.Run(fault, heapHalf, heapEnd, rssHalf, rssEnd);
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        f = soak.figures;
        EXPECT_TRUE(sound) << fault;
        delete game;
        g_game = nullptr;
    }

    std::printf("soak: %ld steps, %ld frames in %.1f s (seed %u)\n", f.steps, f.frames, seconds, seed);
    std::printf("  scenes entered: title %ld, stage 1 %ld, stage 2 %ld, game over %ld\n", f.scenes[SCENE_TITLE],
                f.scenes[SCENE_STAGE1], f.scenes[SCENE_STAGE2], f.scenes[SCENE_GAME_OVER]);
    std::printf("  deaths %ld, restarts %ld, stage clears %ld, game clears %ld, pause toggles %ld, option boxes %ld\n",
                f.deaths, f.restarts, f.stageClears, f.gameClears, f.pauseToggles, f.optionBoxes);
    std::printf("  focus losses %ld, device losses %ld, hot plugs %ld, sounds %ld\n", f.focusLosses,
                f.deviceLosses, f.hotPlugs, f.soundsPlayed);
    std::printf("  steps per mode:");
    for (int m = 0; m < static_cast<int>(Mode::Count); ++m) std::printf(" %s %ld", kModeNames[m], f.modeSteps[m]);
    std::printf("\n  peak live per pool:");
    for (int p : f.peak) std::printf(" %d", p);
    std::printf("\n  heap in use at half %zu, at end %zu (%+lld bytes); resident %ld kB -> %ld kB\n", heapHalf,
                heapEnd, static_cast<long long>(heapEnd) - static_cast<long long>(heapHalf), rssHalf, rssEnd);

    // Nothing is allocated per step, so the second half ends holding what it started with.
    EXPECT_LE(static_cast<long long>(heapEnd) - static_cast<long long>(heapHalf), 16 * 1024);
    EXPECT_EQ(f.otherBoxes, 0) << f.lastOtherBox;
    EXPECT_EQ(gameroot::Difference(before, gameroot::Take(root)), "");
    // The run went where it was meant to: play, death, the game-over menu, restart, pause, the Option box.
    EXPECT_GT(f.scenes[SCENE_STAGE1], 0);
    EXPECT_GT(f.deaths, 0);
    EXPECT_GT(f.restarts, 0);
    EXPECT_GT(f.pauseToggles, 0);
    EXPECT_GT(f.optionBoxes, 0);
    EXPECT_GT(f.peak[9], 0);  // enemy shots flew
    if (steps >= 100000) {
        EXPECT_GT(f.stageClears, 0);
        EXPECT_GT(f.scenes[SCENE_TITLE], 0);
    }
}

}  // namespace
