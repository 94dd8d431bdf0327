// Start-up of the game object on the real back end, up to its first presented frame.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "app/CQovGame.h"
#include "bench/BenchPlatform.h"
#include "bench/Benchmarks.h"

namespace {

using Clock = std::chrono::steady_clock;

}  // namespace

namespace bench {

void BM_Startup(benchmark::State& state)
{
    if (!bench::UseSdl()) {
        state.SkipWithError("no OpenGL back end (set SDL_VIDEODRIVER=offscreen)");
        return;
    }
    std::vector<double> ms;
    for (auto _ : state) {
        const auto start = Clock::now();
        // Window, device, input, every asset and the configuration, the pools, the three lasting tasks
        // (the panel starts the music, which loads the soundfont), then the title's first frame.
        CQovGame* game = bench::NewGame();
        game->Render();
        bench::FinishFrame();
        const double s = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(s);
        ms.push_back(s * 1e3);
        // The game object is built once per run; take it down before the next start.
        bench::DeleteGame(game);
    }
    if (ms.empty()) return;
    state.counters["first_ms"] = ms.front();
    std::sort(ms.begin(), ms.end());
    state.counters["median_ms"] = ms[ms.size() / 2];
    state.counters["max_ms"] = ms.back();
}

}  // namespace bench

