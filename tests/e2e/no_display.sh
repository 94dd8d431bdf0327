#!/usr/bin/env bash
# With no display to open (DISPLAY unset, or naming a server that is not there) the staged game says what
# is missing and ends with status 1 within seconds, instead of running unseen on SDL's offscreen driver.
set -uo pipefail
stage=${1:?staged game root}
fail() { echo "FAIL: $*"; exit 1; }
n=97
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
cd "$stage"
for display in "" ":$n"; do
  vars=(-u SDL_VIDEODRIVER -u WAYLAND_DISPLAY -u DISPLAY SDL_AUDIODRIVER=dummy)
  [ -n "$display" ] && vars+=("DISPLAY=$display")
  start=$(date +%s%N)
  err=$(env "${vars[@]}" timeout -k 5 30 ./bin/zenthar 2>&1 >/dev/null)
  st=$?
  ms=$(( ($(date +%s%N) - start) / 1000000 ))
  echo "DISPLAY ${display:-unset}: status $st after $ms ms"
  echo "$err"
  [ "$st" = 1 ] || fail "status $st, not 1"
  [ "$ms" -lt 5000 ] || fail "it took $ms ms to give up"
  grep -q "^zenthar: no X11 or Wayland display could be opened" <<<"$err" || fail "no line saying what is missing"
  grep -q "^Zenthar: このゲームにはDirectX 9.0以上が必要です。$" <<<"$err" || fail "not the missing device's message"
done
echo "no_display e2e passed"
