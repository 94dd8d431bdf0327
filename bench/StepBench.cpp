// One update step at the worst load, on the headless back end: time per step and heap allocations.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <vector>

#include "app/CQovGame.h"
#include "bench/AllocationCounter.h"
#include "bench/BenchPlatform.h"
#include "bench/Benchmarks.h"
#include "bench/WorstCaseLoad.h"
#include "platform/HeadlessPlatform.h"

namespace {

using Clock = std::chrono::steady_clock;

// Processor time of this thread: on a machine shared with other work, the step's own cost.
double ThreadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

double Median(std::vector<double>& v)
{
    if (v.empty()) return 0.0;
    const size_t mid = v.size() / 2;
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(mid), v.end());
    return v[mid];
}

}  // namespace

namespace bench {

void BM_WorstCaseStep(benchmark::State& state)
{
    headless::HeadlessPlatform& h = bench::UseHeadless();
    CQovGame* game = bench::NewGame();
    bench::WorstCaseLoad load(game);
    load.Restore();

    std::vector<double> seconds, cpuSeconds;
    seconds.reserve(1 << 20);
    cpuSeconds.reserve(1 << 20);
    bench::ResetCounts();
    std::uint64_t steps = 0;
    bool held = true;
    for (auto _ : state) {
        const double cpuStart = ThreadSeconds();
        const auto start = Clock::now();
        bench::StartCounting();
        game->Update();
        bench::StopCounting();
        const double s = std::chrono::duration<double>(Clock::now() - start).count();
        const double cpu = ThreadSeconds() - cpuStart;
        state.SetIterationTime(s);
        if (seconds.size() < seconds.capacity()) {
            seconds.push_back(s);
            cpuSeconds.push_back(cpu);
        }
        ++steps;

        held = held && load.PlayerShots() == bench::WorstCaseLoad::kPlayerShots &&
               load.EnemyShots() == bench::WorstCaseLoad::kEnemyShots &&
               load.Enemies() == 3 * bench::WorstCaseLoad::kEnemiesPerKind && load.Bosses() == 1;
        load.Restore();
        // The recording back end keeps what it was asked to play; that is the test's memory, not the game's.
        h.audio.played.clear();
    }

    const bench::AllocationCounts counts = bench::CountedAllocations();
    const double median = Median(seconds);
    state.counters["allocs_per_step"] = steps ? static_cast<double>(counts.Total()) / steps : 0.0;
    state.counters["median_ms"] = median * 1e3;
    state.counters["median_cpu_ms"] = Median(cpuSeconds) * 1e3;
    state.counters["steps_per_second"] = median > 0 ? 1.0 / median : 0.0;
    // 1 when every step met the full load; the load is rebuilt between steps, outside the timing.
    state.counters["load_held"] = held ? 1.0 : 0.0;
    state.counters["tasks"] = load.PlayerShots() + load.EnemyShots() + load.Enemies() + load.Bosses() +
                              load.Satellites() + 1;
    bench::DeleteGame(game);
}

}  // namespace bench

