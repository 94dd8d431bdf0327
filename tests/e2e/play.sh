#!/usr/bin/env bash
# The staged game played in a real X window: title, stage 1 with the sky, the player and its shots,
# the panel, pause and resume, and both ways out (Escape: status 0; Game_End: status 1).
set -uo pipefail
stage=${1:?staged game root}
here=$(cd "$(dirname "$0")" && pwd)
check="/usr/bin/python3 $here/imgcheck.py"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$(mktemp)
export OUT=$(mktemp -d)
fail() { echo "FAIL: $*"; echo "screenshots kept in $OUT"; exit 1; }
within() { awk -v v="$1" -v lo="$2" -v hi="$3" 'BEGIN { exit !(v >= lo && v <= hi) }'; }

timeout -k 5 90 xvfb-run -a -s "-noreset -screen 0 1024x768x24" bash "$here/lib/play_session.sh" "$stage" escape \
  || fail "session did not finish"
grep -q "exit 0" "$OUT/status" || fail "Escape: $(cat "$OUT/status")"

d=$($check rmse "$OUT/title.png" "$here/ref/title.png"); echo "title vs reference: rmse $d"
within "$d" 0 0.03 || fail "title screen differs from the reference (rmse $d)"

sky=$($check sky "$OUT/play.png"); echo "stage 1 sky share: $sky"
within "$sky" 0.45 1 || fail "no sky in the play field"
x=$($check dragon-x "$OUT/play.png" 505 532); echo "player x while firing: $x"
within "$x" 290 330 || fail "player not at its start position"
s=$($check shots "$OUT/play.png" 296 304 120 470); echo "shot stream gold share: $s"
within "$s" 0.3 1 || fail "no stream of gold shots above the player"
w=$($check white "$OUT/play.png"); echo "near-white share of the field: $w"
within "$w" 0 0.02 || fail "the field is washed out: shots would not stand out"
p=$($check panel-rmse "$OUT/play.png" "$here/ref/title.png"); echo "panel labels vs reference: rmse $p"
within "$p" 0 0.03 || fail "panel labels differ"
n=$($check ink "$OUT/play.png" 640 21 700 40); echo "score digits ink: $n"
within "$n" 0.02 1 || fail "no score number in the panel"

x0=$($check dragon-x "$OUT/before-pause.png" 505 532)
x1=$($check dragon-x "$OUT/paused.png" 505 532)
x2=$($check dragon-x "$OUT/resumed.png" 505 532)
echo "player x before pause $x0, after holding right while paused $x1, after resuming $x2"
within "$(echo "$x1 - $x0" | bc)" -1 1 || fail "the player moved while paused"
within "$(echo "$x2 - $x1" | bc)" 20 400 || fail "the player did not move after resuming"

timeout -k 5 60 xvfb-run -a -s "-noreset -screen 0 1024x768x24" bash "$here/lib/play_session.sh" "$stage" game-end \
  || fail "Game_End session did not finish"
grep -q "exit 1" "$OUT/status" || fail "Game_End: $(cat "$OUT/status")"
rm -rf "$OUT"
echo "play e2e passed"
