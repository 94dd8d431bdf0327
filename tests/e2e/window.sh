#!/usr/bin/env bash
# The staged game in a real X window: its size and name, its loop rate, and both ways of closing it.
set -uo pipefail
stage=${1:?staged game root}
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$(mktemp) ZENTHAR_LOOP_STATS=1
fail() { echo "FAIL: $*"; exit 1; }

run_session() {  # $1 = how to end it: escape | term
  cd "$stage"
  timeout -k 5 60 xvfb-run -a -s "-noreset -screen 0 1024x768x24" bash -c '
    ./bin/zenthar 2> /tmp/zenthar_e2e_err & pid=$!
    for i in $(seq 1 300); do xdotool search --name "^Zenthar$" >/dev/null 2>&1 && break; sleep 0.1; done
    sleep 3  # the loop runs this long for its rate
    xwininfo -name Zenthar | grep -E "Width|Height|Absolute upper-left"
    if [ "'"$1"'" = escape ]; then xdotool key Escape; else kill -TERM $pid; fi
    start=$(date +%s%N)
    wait $pid; rc=$?
    echo "exit $rc after $(( ($(date +%s%N) - start) / 1000000 )) ms"
    cat /tmp/zenthar_e2e_err
  '
}

out=$(run_session escape) || fail "session did not finish: $out"
echo "$out"
grep -q "Width: 800" <<<"$out" || fail "client width is not 800"
grep -q "Height: 600" <<<"$out" || fail "client height is not 600"
grep -q "Absolute upper-left X:  0" <<<"$out" || fail "window not at the left edge"
grep -q "^exit 0 " <<<"$out" || fail "Escape did not end the game with status 0"
ms=$(sed -n 's/^exit 0 after \([0-9]*\) ms/\1/p' <<<"$out")
[ "${ms:-99999}" -lt 1500 ] || fail "Escape took ${ms} ms"
rate=$(sed -n 's/.*steps (\([0-9.]*\)\/s).*/\1/p' <<<"$out")
awk -v r="$rate" 'BEGIN { exit !(r > 55 && r < 65) }' || fail "loop ran at ${rate} steps/s, not 60"

out=$(run_session term) || fail "session did not finish: $out"
echo "$out"
grep -q "^exit 0 " <<<"$out" || fail "closing (SIGTERM) did not end the game with status 0"
echo "window e2e passed"
