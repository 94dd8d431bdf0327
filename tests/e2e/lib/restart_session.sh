#!/usr/bin/env bash
# Runs inside an X server: loses the ship in stage 1 by flying up into the enemies, chooses Restart
# and watches for the first enemies of the restarted stage. Screenshots and figures go to $OUT.
# $1 = staged root
set -uo pipefail
source "$(dirname "$0")/await.sh"
cd "$1"
./bin/zenthar 2>"$OUT/stderr" &
pid=$!
tap() { xdotool keydown "$1"; sleep 0.15; xdotool keyup "$1"; }
warm() { $check warm "$OUT/$1.png" "$2" "$3" "$4" "$5"; }
over() { [ "$(echo "$(sky "$1") < 0.05" | bc)" = 1 ] && [ "$(warm "$1" 40 185 560 245)" -gt 3000 ]; }
enemies() { [ "$(echo "$(sky "$1") > 0.45" | bc)" = 1 ] && [ "$(warm "$1" 0 0 600 460)" -gt 150 ]; }

await title 30 'title title' >/dev/null
tap f                                        # Game_Start
t=$(await first 12 'enemies first') && echo "first $t" >>"$OUT/figures"
xdotool keydown s                            # up into the enemies, not firing
t=$(await over 60 'over over') && echo "over $t" >>"$OUT/figures"
xdotool keyup s                              # held into the menu, up has moved the pointer once
on_restart() { [ "$(warm "$1" 245 360 275 386)" -gt 20 ]; }
await menu 2 'on_restart menu' >/dev/null || { tap x; await menu 5 'on_restart menu' >/dev/null; }
on_restart menu && echo "pointer on Restart" >>"$OUT/figures"
tap f                                        # Restart
t=$(await restart 12 'enemies restart') && echo "restart $t" >>"$OUT/figures"
xdotool key Escape
wait $pid
echo "exit $?" >"$OUT/status"
