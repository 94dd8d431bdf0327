#!/usr/bin/env bash
# Takes the README's screenshots from the staged game under Xvfb, at 1:1: the title, stage 1
# before and after the satellites join, boss 1 and boss 2. A copy of the game root gets short
# spawn tables so both bosses come on within seconds; the game itself is untouched.
#   tools/screenshots.sh STAGED_ROOT [OUT_DIR]     (OUT_DIR defaults to docs/)
set -euo pipefail
stage=$(cd "${1:?staged game root, e.g. build/game}" && pwd)
out=$(cd "${2:-$(dirname "$0")/../docs}" && pwd)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
cp -r "$stage"/. "$root"

# Stage 1: a double file of phoenixes and three gargoyles fly into the player's fire (their
# score brings the satellites), a wave crosses the sky, then boss 1 with a short life.
# Rows: type frame hp x y speedX speedY duration pattern, frames rising.
{
  for i in $(seq 0 45); do
    echo "0 $((60 + 15 * i)) 1 $((290 + 20 * (i % 2))).0 -16.0 0.0 2.0 0 0"
  done
  for i in 0 1 2; do
    echo "1 $((760 + 30 * i)) 9 300.0 -16.0 0.0 2.0 200 1"
  done
  for i in $(seq 0 5); do
    echo "0 $((860 + 8 * i)) 1 $((80 + 90 * i)).0 -16.0 0.0 2.5 0 0"
  done
  echo "2 910 24 480.0 -16.0 0.0 1.5 90 11"
  # no sideways drift, so it stays in the line of fire and dies before the ship does
  echo "100 1080 300 300.0 0.0 0.0 1.0 260 0"
} >"$root/Table/table1.txt"
# Stage 2: a few enemies, then boss 2.
{
  for i in $(seq 0 5); do
    echo "0 $((40 + 14 * i)) 2 200.0 -16.0 0.0 3.0 0 0"
  done
  echo "2 150 24 420.0 -16.0 0.0 1.5 90 11"
  echo "200 240 1770 300.0 0.0 0.0 1.0 200 0"
} >"$root/Table/table2.txt"

session=$(mktemp)
trap 'rm -rf "$root" "$session"' EXIT
cat >"$session" <<'EOF'
set -u
cd "$1"
SDL_AUDIODRIVER=dummy ./bin/zenthar &
pid=$!
for i in $(seq 1 150); do xdotool search --name "^Zenthar$" >/dev/null 2>&1 && break; sleep 0.1; done
shot() { import -window root -crop 800x600+0+0 +repage "$2/$1.png"; }
sleep 2
shot title "$2"
xdotool keydown f; sleep 0.15; xdotool keyup f
sleep 2.4
shot stage1 "$2"                 # the first phoenixes, no satellites yet
xdotool keydown f
sleep 12.1
shot satellites "$2"             # score past 500: the satellites fire beside the ship
sleep 6.2
shot boss1 "$2"
sleep 9
shot boss2 "$2"
xdotool keyup f
xdotool key Escape
wait $pid
EOF
timeout -k 5 120 xvfb-run -a -s "-noreset -screen 0 1024x768x24" bash "$session" "$root" "$out"
ls -l "$out"/*.png
