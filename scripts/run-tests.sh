#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite; non-zero on any failure.
#   1. the normal build and every test, the real-window ones included (build/), then the Debian package
#      built from it and checked with lintian;
#   2. the same suite built with AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer
#      (build-asan/), the real-window scripts left out;
#   3. the tests that run threads, built with ThreadSanitizer (build-tsan/);
#   4. a short run of every libFuzzer target over its seed corpus (build-fuzz/).
# ZENTHAR_QUICK=1 runs only the first.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/install-deps.sh
jobs=$(nproc)

echo "== build and test =="
cmake -S . -B build
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j2
tests/package.sh build

[ "${ZENTHAR_QUICK:-0}" = 1 ] && exit 0

echo "== sanitizers =="
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DZENTHAR_SANITIZE=address,undefined -DZENTHAR_BENCH=OFF
cmake --build build-asan -j"$jobs"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:strict_string_checks=1
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-asan --output-on-failure -j2 -E '^(e2e_|bench_)'

echo "== thread sanitizer =="
# The tests that run threads of ours, built alone with ThreadSanitizer; any report fails the stage.
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZENTHAR_SANITIZE=thread -DZENTHAR_BENCH=OFF
cmake --build build-tsan -j"$jobs" --target zenthar_tests
# Under an X server, where the message box runs.
TSAN_OPTIONS="suppressions=$root/tests/tsan.supp:halt_on_error=1:second_deadlock_stack=1" SDL_AUDIODRIVER=dummy \
  xvfb-run -a -s "-noreset" env -u SDL_VIDEODRIVER build-tsan/tests/zenthar_tests \
  --gtest_filter='SdlAudioOutput.*:SessionMix.*:SdlMessageBoxTest.*:Pads/SdlMessageBoxPadTest.*:MainLoopTest.*:VoiceMixer.*'

echo "== fuzz smoke =="
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DZENTHAR_FUZZ=ON
cmake --build build-fuzz -j"$jobs"
for target in strings setting config spawn_table; do
  corpus=fuzz/corpus/${target#spawn_}
  work=$(mktemp -d)
  mkdir "$work/corpus"
  rc=0
  (cd "$work" && "$root/build-fuzz/fuzz/fuzz_$target" -max_total_time="${ZENTHAR_FUZZ_SECONDS:-20}" \
      -print_final_stats=1 corpus "$root/$corpus" >log 2>&1) || rc=$?
  echo "fuzz_$target: $(grep -E 'stat::number_of_executed_units' "$work/log" | awk '{print $2}') runs, exit $rc"
  if [ $rc -ne 0 ]; then tail -40 "$work/log"; exit 1; fi
  rm -rf "$work"
done
echo "all test stages passed"
