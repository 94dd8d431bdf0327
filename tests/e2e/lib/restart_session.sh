#!/usr/bin/env bash
# Runs inside an X server: loses the ship in stage 1 by flying up into the enemies, chooses Restart
# and watches for the first enemies of the restarted stage. Screenshots and figures go to $OUT.
# $1 = staged root, $2 = the checker
set -uo pipefail
cd "$1"
check=$2
./bin/zenthar 2>"$OUT/stderr" &
pid=$!
for i in $(seq 1 150); do xdotool search --name "^Zenthar$" >/dev/null 2>&1 && break; sleep 0.1; done
shot() { import -window root "$OUT/$1.png"; }
tap() { xdotool keydown "$1"; sleep 0.15; xdotool keyup "$1"; }
now() { date +%s.%N; }
since() { echo "$(now) - $1" | bc; }
# Polls every half second for up to $2 seconds until test $3 passes on a fresh screenshot named $1.
await() {
  local start=$(now)
  while [ "$(echo "$(since "$start") < $2" | bc)" = 1 ]; do
    shot "$1"
    if eval "$3"; then since "$start"; return 0; fi
    sleep 0.5
  done
  return 1
}
sky() { $check sky "$OUT/$1.png"; }
warm() { $check warm "$OUT/$1.png" "$2" "$3" "$4" "$5"; }
over() { [ "$(echo "$(sky "$1") < 0.05" | bc)" = 1 ] && [ "$(warm "$1" 40 185 560 245)" -gt 3000 ]; }
enemies() { [ "$(echo "$(sky "$1") > 0.45" | bc)" = 1 ] && [ "$(warm "$1" 0 0 600 460)" -gt 150 ]; }

sleep 2
tap f                                        # Game_Start
t=$(await first 12 'enemies first') && echo "first $t" >>"$OUT/figures"
xdotool keydown s                            # up into the enemies, not firing
t=$(await over 60 'over over') && echo "over $t" >>"$OUT/figures"
xdotool keyup s                              # held into the menu, up has moved the pointer once
sleep 0.5
shot menu
[ "$(warm menu 245 360 275 386)" -gt 20 ] || { tap x; sleep 0.3; shot menu; }
[ "$(warm menu 245 360 275 386)" -gt 20 ] && echo "pointer on Restart" >>"$OUT/figures"
tap f                                        # Restart
t=$(await restart 12 'enemies restart') && echo "restart $t" >>"$OUT/figures"
xdotool key Escape
wait $pid
echo "exit $?" >"$OUT/status"
