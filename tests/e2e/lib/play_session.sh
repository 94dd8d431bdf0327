#!/usr/bin/env bash
# Runs inside an X server: plays the staged game by keyboard and takes screenshots into $OUT.
# $1 = staged root, $2 = how to end: escape | game-end
set -uo pipefail
source "$(dirname "$0")/await.sh"
cd "$1"
./bin/zenthar 2>"$OUT/stderr" &
pid=$!
tap() { xdotool keydown "$1"; sleep 0.15; xdotool keyup "$1"; sleep 0.2; }
player_x() { $check dragon-x "$OUT/$1.png" 505 532; }

await title 30 'title title' >/dev/null
if [ "$2" = game-end ]; then
  tap c; tap c          # pointer to Game_End
  shot title-end
  tap f                 # decide: the game ends at once
else
  tap f                 # Game_Start; stage 1 behind a fade of 91 steps
  await stage 20 'atleast "$(sky stage)" 0.9' >/dev/null
  xdotool keydown f; sleep 1.2   # firing long enough to bring down the first enemies
  await play 10 'atleast "$($check shots "$OUT/play.png" 296 304 120 470)" 0.3' >/dev/null
  xdotool keyup f; sleep 0.3
  shot before-pause
  # Pause, by a tap quicker than one update step. Nothing on screen shows the pause (the sky scrolls on):
  # a second is the game's time to take it.
  xdotool key space; sleep 1
  xdotool keydown c; sleep 1.0; xdotool keyup c
  shot paused
  tap space             # resume
  x1=$(player_x paused)
  xdotool keydown c
  await moving 10 'atleast "$(player_x moving) - $x1" 20' >/dev/null
  xdotool keyup c
  shot resumed
  xdotool key Escape
fi
wait $pid
echo "exit $?" >"$OUT/status"
