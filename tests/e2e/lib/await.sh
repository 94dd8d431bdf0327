#!/usr/bin/env bash
# Sourced by the play sessions inside an X server: screenshots of the screen into $OUT, and waits on
# what they show rather than on the clock, so that a loaded machine reaches the idle one's verdict.
lib=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
check="/usr/bin/python3 $lib/../imgcheck.py"
shot() { import -window root "$OUT/$1.png"; }
now() { date +%s.%N; }
since() { echo "$(now) - $1" | bc; }
below() { [ "$(echo "$1 < $2" | bc)" = 1 ]; }
atleast() { [ "$(echo "$1 >= $2" | bc)" = 1 ]; }
# Takes screenshot $1 every half second until the test $3 passes on it, at most $2 seconds; prints the
# seconds it took. The last screenshot stays for the caller's own checks.
await() {
  local start=$(now)
  while below "$(since "$start")" "$2"; do
    shot "$1"
    if eval "$3"; then since "$start"; return 0; fi
    sleep 0.5
  done
  return 1
}
# Screenshot $1 shows the title screen as the reference has it.
title() { below "$($check rmse "$OUT/$1.png" "$lib/../ref/title.png")" 0.03; }
sky() { $check sky "$OUT/$1.png"; }
