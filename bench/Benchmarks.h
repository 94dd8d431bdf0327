// The benchmarks, registered by the entry in the order they run.
#pragma once
#include <benchmark/benchmark.h>

namespace bench {

void BM_Startup(benchmark::State& state);
void BM_WorstCaseStep(benchmark::State& state);
void BM_WorstCaseFrame(benchmark::State& state);
void BM_Session(benchmark::State& state);

// The session itself, run in a child process so that its peak resident set is its own.
int RunSession(long steps);

}  // namespace bench
