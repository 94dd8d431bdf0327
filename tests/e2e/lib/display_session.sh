#!/usr/bin/env bash
# Runs inside a display server: starts the staged game, measures its CPU share on the title and in
# stage 1, times steering keys if asked, and ends it with Escape. Results go to $OUT/result.
# $1 = staged root, $2 = seconds per CPU window, $3 = steering presses to time (0: none),
# $4 = key-to-screen probe, $5 = screenshot command or empty; $GAME_PRELOAD is preloaded into the game.
set -uo pipefail
cd "$1"
secs=$2 presses=$3 probe=$4 shoot=${5:-}
LD_PRELOAD=${GAME_PRELOAD:-} ZENTHAR_LOOP_STATS=1 ./bin/zenthar 2>"$OUT/stderr" &
pid=$!
if [ -z "${WAYLAND_DISPLAY:-}" ]; then
  for i in $(seq 1 150); do xdotool search --name "^Zenthar$" >/dev/null 2>&1 && break; sleep 0.1; done
fi
ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
hz=$(getconf CLK_TCK)
cpu_window() {  # prints the CPU share of one core over $secs seconds, in percent
  local a b
  a=$(ticks); sleep "$secs"; b=$(ticks)
  awk -v a="$a" -v b="$b" -v hz="$hz" -v s="$secs" 'BEGIN { printf "%.0f", (b - a) / hz / s * 100 }'
}

sleep 3
[ -n "$shoot" ] && $shoot "$OUT/title.png"
echo "cpu_title $(cpu_window)" >"$OUT/result"
echo "load_title $(cut -d' ' -f1 /proc/loadavg)" >>"$OUT/result"
xdotool key f          # Game_Start: a fade, then stage 1
sleep 5
[ -n "$shoot" ] && $shoot "$OUT/stage.png"
echo "cpu_stage $(cpu_window)" >>"$OUT/result"
echo "load_stage $(cut -d' ' -f1 /proc/loadavg)" >>"$OUT/result"
if [ "$presses" -gt 0 ]; then
  "$probe" "$presses" >>"$OUT/result" 2>&1
fi
xdotool key Escape
for i in $(seq 1 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && kill -KILL "$pid"
wait "$pid"
echo "exit $?" >>"$OUT/result"
