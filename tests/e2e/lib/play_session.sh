#!/usr/bin/env bash
# Runs inside an X server: plays the staged game by keyboard and takes screenshots into $OUT.
# $1 = staged root, $2 = how to end: escape | game-end
set -uo pipefail
cd "$1"
./bin/zenthar 2>"$OUT/stderr" &
pid=$!
for i in $(seq 1 150); do xdotool search --name "^Zenthar$" >/dev/null 2>&1 && break; sleep 0.1; done
shot() { import -window root "$OUT/$1.png"; }
tap() { xdotool keydown "$1"; sleep 0.15; xdotool keyup "$1"; sleep 0.2; }

sleep 2
shot title
if [ "$2" = game-end ]; then
  tap c; tap c          # pointer to Game_End
  shot title-end
  tap f                 # decide: the game ends at once
else
  tap f                 # Game_Start; 30 steps of fade, then stage 1
  sleep 1.5
  xdotool keydown f; sleep 1.2
  shot play             # firing
  xdotool keyup f; sleep 0.3
  shot before-pause
  xdotool key space; sleep 0.3   # pause, by a tap quicker than one update step
  xdotool keydown c; sleep 1.0; xdotool keyup c
  shot paused
  tap space             # resume
  xdotool keydown c; sleep 0.6; xdotool keyup c
  shot resumed
  xdotool key Escape
fi
wait $pid
echo "exit $?" >"$OUT/status"
