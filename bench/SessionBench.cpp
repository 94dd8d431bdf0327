// A whole game session on the real back end, played by random keys, in a process of its own: peak
// resident memory, growth of the resident set while playing, allocations per update step.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "app/CQovGame.h"
#include "bench/AllocationCounter.h"
#include "bench/BenchPlatform.h"
#include "bench/Benchmarks.h"
#include "game/CBackGround.h"
#include "platform/input/HeadlessInput.h"
#include "task/TaskPool.h"

extern char** environ;

namespace {

constexpr int kUp = 0x1F;      // S
constexpr int kDown = 0x2D;    // X
constexpr int kLeft = 0x2C;    // Z
constexpr int kRight = 0x2E;   // C
constexpr int kSlow = 0x2F;    // V
constexpr int kDecide = 0x21;  // F: shot and menu decide
constexpr int kPause = 0x39;   // Space

// Five simulated minutes unless ZENTHAR_SESSION_STEPS says otherwise.
long SessionSteps()
{
    const char* s = std::getenv("ZENTHAR_SESSION_STEPS");
    const long n = s ? std::atol(s) : 0;
    return n > 0 ? n : 18000;
}

// A frame every third step: memory does not depend on how often the picture is drawn, and the software
// renderer would otherwise make the session take minutes.
constexpr long kStepsPerFrame = 3;

constexpr int kOverRestart = 365;  // the game-over pointer on Restart

// Random play that only ever decides on the first menu item (Option would open a box, Game_End quit).
class RandomPlayer {
public:
    explicit RandomPlayer(headless::Input& keys) : keys_(keys) {}

    void Press(CQovGame* game, long step)
    {
        const int scene = game->sceneState;
        keys_.ReleaseAllKeys();
        if (scene == SCENE_TITLE || scene == SCENE_GAME_OVER) {
            // A ship that dies with up or down held moves the game-over pointer to Game_End: move it back.
            TaskIter it(game->poolBackGround);
            const CBackGround* menu = it.HasNext() ? static_cast<CBackGround*>(it.Next()) : nullptr;
            if (scene == SCENE_GAME_OVER && menu && menu->pointerY != kOverRestart) {
                keys_.SetKey(kDown, step % 2 == 0);
                return;
            }
            keys_.SetKey(kDecide, step % 90 == 0);
            return;
        }
        if (step % 20 == 0) {
            direction_ = static_cast<int>(random_() % 9);
            slow_ = random_() % 5 == 0;
            firing_ = random_() % 8 != 0;
        }
        static const int kDirs[9][2] = {{0, 0}, {1, 0}, {-1, 0}, {0, 1}, {0, -1}, {1, 1}, {1, -1}, {-1, 1}, {-1, -1}};
        const int dx = kDirs[direction_][0], dy = kDirs[direction_][1];
        keys_.SetKey(kRight, dx > 0);
        keys_.SetKey(kLeft, dx < 0);
        keys_.SetKey(kDown, dy > 0);
        keys_.SetKey(kUp, dy < 0);
        keys_.SetKey(kSlow, slow_);
        keys_.SetKey(kDecide, firing_);
        // Now and then a pause of two seconds.
        const long phase = step % 3000;
        keys_.SetKey(kPause, phase == 1500 || phase == 1620);
    }

private:
    headless::Input& keys_;
    std::mt19937 random_{20240601u};
    int direction_ = 0;
    bool slow_ = false;
    bool firing_ = true;
};

}  // namespace

namespace bench {

int RunSession(long steps)
{
    if (!UseSdl()) return 2;
    const auto begin = std::chrono::steady_clock::now();
    CQovGame* game = NewGame();
    game->Render();
    RandomPlayer player(SdlKeys());
    long startRss = 0, maxRss = 0;
    const long warmUp = steps / 10;
    std::uint64_t updateNews = 0, updateMallocs = 0, frameAllocs = 0;
    int deaths = 0, lastScene = game->sceneState;
    for (long step = 0; step < steps; ++step) {
        player.Press(game, step);
        ResetCounts();
        StartCounting();
        game->Update();
        StopCounting();
        const AllocationCounts u = CountedAllocations();
        std::uint64_t f = 0;
        if (step % kStepsPerFrame == 0) {
            ResetCounts();
            StartCounting();
            game->Render();
            StopCounting();
            f = CountedAllocations().news;
        }
        if (step >= warmUp) {
            updateNews += u.news;
            updateMallocs += u.mallocs;
            frameAllocs += f;
        }
        if (game->sceneState == SCENE_GAME_OVER && lastScene != SCENE_GAME_OVER) ++deaths;
        lastScene = game->sceneState;
        if (step == warmUp) startRss = CurrentRssKb();
        if (step % 600 == 0) {
            const long rss = CurrentRssKb();
            if (rss > maxRss) maxRss = rss;
        }
    }
    const long endRss = CurrentRssKb();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    // The high-water mark of this image: getrusage would also count the parent it was spawned from.
    const long peakRss = PeakRssKb();
    const long counted = steps - warmUp;
    std::printf("session steps=%ld peak_rss_kb=%ld start_rss_kb=%ld end_rss_kb=%ld max_sampled_rss_kb=%ld "
                "update_news=%llu update_mallocs=%llu frame_allocs=%llu counted_steps=%ld deaths=%d score=%d seconds=%.3f\n",
                steps, peakRss, startRss, endRss, maxRss, static_cast<unsigned long long>(updateNews),
                static_cast<unsigned long long>(updateMallocs),
                static_cast<unsigned long long>(frameAllocs), counted, deaths, game->score, seconds);
    std::fflush(stdout);
    // Ends like the game: the process takes the rest down.
    std::_Exit(0);
}

void BM_Session(benchmark::State& state)
{
    const long steps = SessionSteps();
    for (auto _ : state) {
        int out[2];
        if (pipe(out) != 0) {
            state.SkipWithError("pipe failed");
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        const std::string stepsArg = std::to_string(steps);
        char self[] = "/proc/self/exe";
        char flag[] = "--session";
        char* argv[] = {self, flag, const_cast<char*>(stepsArg.c_str()), nullptr};
        pid_t pid = 0;
        const int spawned = posix_spawn(&pid, "/proc/self/exe", &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        if (spawned != 0) {
            close(out[0]);
            state.SkipWithError("could not start the session process");
            return;
        }
        std::string text;
        char buf[512];
        ssize_t n;
        while ((n = read(out[0], buf, sizeof buf)) > 0) text.append(buf, static_cast<size_t>(n));
        close(out[0]);
        int status = 0;
        waitpid(pid, &status, 0);

        long s = 0, peak = 0, start = 0, end = 0, sampled = 0, counted = 0;
        unsigned long long updateNews = 0, updateMallocs = 0, frameAllocs = 0;
        int deaths = 0, score = 0;
        double seconds = 0;
        const size_t at = text.find("session ");
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || at == std::string::npos ||
            std::sscanf(text.c_str() + at,
                        "session steps=%ld peak_rss_kb=%ld start_rss_kb=%ld end_rss_kb=%ld max_sampled_rss_kb=%ld "
                        "update_news=%llu update_mallocs=%llu frame_allocs=%llu counted_steps=%ld deaths=%d score=%d seconds=%lf",
                        &s, &peak, &start, &end, &sampled, &updateNews, &updateMallocs, &frameAllocs, &counted, &deaths, &score,
                        &seconds) != 12) {
            std::fprintf(stderr, "session process: status %d, output: %s\n", status, text.c_str());
            state.SkipWithError("the session process failed");
            return;
        }
        state.SetIterationTime(seconds);
        state.counters["session_steps"] = static_cast<double>(s);
        state.counters["peak_rss_kb"] = static_cast<double>(peak);
        state.counters["rss_growth_kb"] = static_cast<double>(end - start);
        // The game's own allocations (operator new) per update, and those of the C libraries beneath it
        // (the mixer takes a small block for every effect it starts).
        state.counters["update_allocs_per_step"] = counted ? static_cast<double>(updateNews) / counted : 0.0;
        state.counters["update_mallocs_per_step"] = counted ? static_cast<double>(updateMallocs) / counted : 0.0;
        state.counters["frame_allocs_per_frame"] =
            counted ? static_cast<double>(frameAllocs) * kStepsPerFrame / counted : 0.0;
        state.counters["deaths"] = deaths;
    }
}

}  // namespace bench
