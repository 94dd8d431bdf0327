#!/usr/bin/env bash
# Keyboard events and a virtual controller drive GetIs in the game inside a real X window.
set -uo pipefail
stage=${1:?staged game root}
tests="$stage/../tests/zenthar_tests"
[ -x "$tests" ] || { echo "FAIL: no test binary at $tests"; exit 1; }
out=$(SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy timeout -k 5 60 xvfb-run -a -s "-noreset -screen 0 1024x768x24" \
      "$tests" --gtest_filter='SdlGameInputTest.*' 2>&1)
echo "$out" | tail -20
grep -q "SKIPPED" <<<"$out" && { echo "FAIL: the game window got no focus"; exit 1; }
grep -q "\[  PASSED  \] 1 test" <<<"$out" || { echo "FAIL: input did not reach GetIs"; exit 1; }
echo "input e2e passed"
