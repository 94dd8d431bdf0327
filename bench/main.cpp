// Entry of the benchmark program: the figures of the game at its heaviest, on this machine.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>

#include "bench/Benchmarks.h"

int main(int argc, char** argv)
{
    // No display and no sound device needed; the caller may choose others.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (argc == 3 && std::strcmp(argv[1], "--session") == 0) return bench::RunSession(std::atol(argv[2]));

    benchmark::RegisterBenchmark("BM_Startup", bench::BM_Startup)
        ->UseManualTime()
        ->Iterations(5)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_WorstCaseStep", bench::BM_WorstCaseStep)
        ->UseManualTime()
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("BM_WorstCaseFrame", bench::BM_WorstCaseFrame)
        ->UseRealTime()
        ->MeasureProcessCPUTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_Session", bench::BM_Session)
        ->UseManualTime()
        ->Iterations(1)
        ->Unit(benchmark::kSecond);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
