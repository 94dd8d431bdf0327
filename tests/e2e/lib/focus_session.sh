#!/usr/bin/env bash
# Inside an X server: another client takes the focus and gives it back with no key pressed; then the
# accelerators with modifiers. $1 = staged root, $2 = wm | bare; screenshots into $OUT.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/desktop.sh"
mode=$2
fail() { echo "FAIL ($mode): $*"; kill "$other_pid" 2>/dev/null; exit 1; }
other_pid=
# The field changes within 20 screenshots of a first one; sets $moved to the screenshot that showed it.
moves_within_shots() {
  shot "$OUT/$1-a.png"
  moved=
  for i in $(seq 1 20); do
    shot "$OUT/$1-b.png"
    differs "$OUT/$1-a.png" "$OUT/$1-b.png" && { moved=$i; return 0; }
  done
  return 1
}
start_wm "$mode"
start_game "$1"
tap f                  # Game_Start: the stage scrolls from here on
shot "$OUT/run-a.png"
wait_for 100 changed "$OUT/run-a.png" "$OUT/run-b.png" || fail "the stage does not move"

xmessage -name zenthar-other "another client" 2>/dev/null &
other_pid=$!
wait_for 50 xdotool search --classname '^zenthar-other$' || fail "no other client"
other=$(xdotool search --classname '^zenthar-other$' | head -1)
xdotool windowfocus "$other"
wait_for 50 focused "$other" || fail "the other client did not get the focus"
# It stops within seconds, and stays stopped for a second more.
wait_for 10 frozen || fail "the game ran while behind"
shot "$OUT/behind-a.png"; sleep 1; shot "$OUT/behind-b.png"
differs "$OUT/behind-a.png" "$OUT/behind-b.png" && fail "the game ran while behind"

# Back in front by the focus alone: the game moves again at once.
xdotool windowfocus "$game"
wait_for 50 focused "$game" || fail "the game did not get the focus back"
start=$(date +%s%N)
moves_within_shots back || fail "the game stayed frozen after the focus came back"
echo "moved by screenshot $moved, $(( ($(date +%s%N) - start) / 1000000 )) ms after the focus came back"

# Minimised and restored through the window manager: back in front, it moves again with no key.
if [ "$mode" = wm ]; then
  xdotool windowminimize --sync "$game"
  sleep 0.5
  xdotool windowactivate --sync "$game"
  wait_for 50 focused "$game" || fail "the restored game did not get the focus"
  moves_within_shots restored || fail "the game stayed frozen after it was restored"
fi

# Escape with Ctrl or Alt is not the Escape accelerator: a second later the game still draws new frames
# (so it has taken the key) and is alive.
xdotool key ctrl+Escape
sleep 1
moves_within_shots ctrl && alive || fail "Ctrl+Escape ended the game"
xdotool key alt+Escape   # openbox takes this one itself: it lowers the window and moves the focus
sleep 1
xdotool windowfocus "$game"
wait_for 50 focused "$game" || fail "the game did not get the focus back"
moves_within_shots alt && alive || fail "Alt+Escape ended the game"
# Alt+F4 is no F4 accelerator: the system's close, status 0.
xdotool key alt+F4
status_within 100
[ "$st" = 0 ] || fail "Alt+F4 gave status $st"
kill "$other_pid" 2>/dev/null
echo "focus and accelerators ($mode) passed"
