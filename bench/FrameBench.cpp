// One rendered frame at the worst load on the real OpenGL back end: time, draw calls and allocations.
#include <benchmark/benchmark.h>

#include <ctime>

#include "app/CQovGame.h"
#include "app/CRenderDevice.h"
#include "bench/AllocationCounter.h"
#include "bench/BenchPlatform.h"
#include "bench/Benchmarks.h"
#include "bench/WorstCaseLoad.h"
#include "platform/Platform.h"
#include "platform/graphics/IGraphics.h"

namespace {

double ThreadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

}  // namespace

namespace bench {

void BM_WorstCaseFrame(benchmark::State& state)
{
    if (!bench::UseSdl()) {
        state.SkipWithError("no OpenGL back end (set SDL_VIDEODRIVER=offscreen)");
        return;
    }
    CQovGame* game = bench::NewGame();
    if (!Sys().graphics->HasDevice()) {
        state.SkipWithError("no OpenGL context");
        bench::DeleteGame(game);
        return;
    }
    bench::WorstCaseLoad load(game);
    // A few steps of play first, so every task has drawn state of its own, then the full load again.
    for (int i = 0; i < 3; ++i) {
        game->Update();
        load.Restore();
    }
    game->Render();  // the glyph cache and the driver's first-use work belong to start-up
    bench::FinishFrame();

    IGraphics* device = Sys().graphics;
    bench::ResetCounts();
    const std::uint64_t callsBefore = device->DrawCallCount();
    std::uint64_t frames = 0;
    const double mainStart = ThreadSeconds();
    for (auto _ : state) {
        bench::StartCounting();
        game->Render();
        bench::FinishFrame();
        bench::StopCounting();
        ++frames;
    }
    const double mainSeconds = ThreadSeconds() - mainStart;
    const std::uint64_t calls = device->DrawCallCount() - callsBefore;
    const bench::AllocationCounts counts = bench::CountedAllocations();
    // The game's own thread; the CPU column is the whole process, the renderer's threads included.
    state.counters["main_cpu_ms"] = frames ? mainSeconds * 1e3 / frames : 0.0;
    state.counters["draw_calls"] = frames ? static_cast<double>(calls) / frames : 0.0;
    state.counters["allocs_per_frame"] = frames ? static_cast<double>(counts.news) / frames : 0.0;
    // Allocations of the C libraries underneath (the GL driver among them) on the game's thread.
    state.counters["mallocs_per_frame"] = frames ? static_cast<double>(counts.mallocs) / frames : 0.0;
    state.counters["quads"] = load.PlayerShots() + load.EnemyShots() + 2 * load.Enemies() + 2 * load.Bosses() +
                              2 * load.Satellites() + 2;
    bench::DeleteGame(game);
}

}  // namespace bench

