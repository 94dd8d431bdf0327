#!/usr/bin/env bash
# Sourced inside an X server by the desktop sessions: start the game (and a window manager), watch it.

# Polls a command every 0.1 s, at most $1 times.
wait_for() {
  local n=$1 i; shift
  for ((i = 0; i < n; i++)); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
  return 1
}

# $1 = wm | bare. openbox with its stock key bindings, ready once it claims the screen.
start_wm() {
  [ "$1" = wm ] || return 0
  openbox --sm-disable >/dev/null 2>&1 &
  wm_pid=$!
  wait_for 100 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' || { echo "FAIL: openbox did not start"; exit 1; }
}

# Starts the game in the working directory $1; sets pid and game (its window).
start_game() {
  (cd "$1" && exec ./bin/zenthar) 2>"$OUT/stderr" &
  pid=$!
  wait_for 150 xdotool search --name '^Zenthar$' || { echo "FAIL: no game window"; exit 1; }
  game=$(xdotool search --name '^Zenthar$' | head -1)
  # In front (a window manager gives the focus in its own time) and drawing its title: the loop runs.
  wait_for 100 focused "$game" || { echo "FAIL: the game window never got the focus"; exit 1; }
  wait_for 150 drawn || { echo "FAIL: the game drew nothing"; exit 1; }
}
drawn() {
  shot "$OUT/start.png" && [ "$(convert "$OUT/start.png" -format '%[fx:mean>0.05]' info:)" = 1 ]
}

tap() { xdotool keydown "$1"; sleep 0.15; xdotool keyup "$1"; sleep 0.2; }
# The play field of the game window.
shot() { import -window "$game" -crop 600x550+0+0 "$1" 2>/dev/null; }
differs() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" != 0 ]; }
# A fresh screenshot $2 of the play field differs from the screenshot $1.
changed() { shot "$2" && differs "$1" "$2"; }
# Two screenshots half a second apart are the same: the game draws nothing new.
frozen() { shot "$OUT/frozen-a.png" && sleep 0.5 && shot "$OUT/frozen-b.png" && ! differs "$OUT/frozen-a.png" "$OUT/frozen-b.png"; }
focused() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
alive() { kill -0 "$pid" 2>/dev/null; }

# The game's other shown window (its message box), if any.
box_window() {
  local w
  for w in $(xdotool search --pid "$pid" 2>/dev/null); do
    [ "$w" = "$game" ] && continue
    xwininfo -id "$w" 2>/dev/null | grep -q IsViewable && { echo "$w"; return 0; }
  done
  return 1
}
caption_of() { xprop -id "$1" _NET_WM_NAME 2>/dev/null | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p'; }
# The legacy name older window managers and taskbars read, decoded as xprop does in a UTF-8 session.
legacy_name_of() { LC_ALL=C.UTF-8 xprop -id "$1" WM_NAME 2>/dev/null | sed -n 's/^WM_NAME([^)]*) = "\(.*\)"$/\1/p'; }

# Waits for the game to end; sets st to its status, 124 when it did not within $1 tenths of a second.
status_within() {
  local i
  st=124
  for ((i = 0; i < $1; i++)); do alive || { wait "$pid"; st=$?; return; }; sleep 0.1; done
}
