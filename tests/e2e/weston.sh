#!/usr/bin/env bash
# The game under a Wayland compositor that leaves decorations to its clients: weston, its X11 back end
# nested in Xvfb, with SDL's Wayland driver. The window has a title bar (libdecor), and the loop keeps
# about 60 steps a second without spinning or showing more frames than the compositor's 60 Hz output.
# ZENTHAR_DISPLAY_SECONDS and ZENTHAR_DISPLAY_PRESSES as for display.sh (presses are only reported here).
set -uo pipefail
stage=$(cd "${1:?staged game root}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib/loop_figures.sh"
probe="$stage/../tests/zenthar_key_latency"
command -v weston >/dev/null || { echo "FAIL: weston is missing (scripts/install-deps.sh)"; exit 1; }
[ -x "$probe" ] || { echo "FAIL: no key-to-screen probe at $probe (libxtst-dev, scripts/install-deps.sh)"; exit 1; }
secs=${ZENTHAR_DISPLAY_SECONDS:-4}
presses=${ZENTHAR_DISPLAY_PRESSES:-12}
export OUT; OUT=$(mktemp -d)
export XDG_RUNTIME_DIR="$OUT/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
check_cpu=1
ldd "$stage/bin/zenthar" | grep -q -e libasan -e libtsan && check_cpu=0

timeout -k 5 120 xvfb-run -a -s "-noreset -screen 0 1280x1024x24" bash -c '
  weston --backend=x11-backend.so --use-pixman --width=1024 --height=768 --socket=zenthar-0 --idle-time=0 \
    --log="$OUT/weston.log" &
  weston=$!
  for i in $(seq 1 100); do [ -S "$XDG_RUNTIME_DIR/zenthar-0" ] && break; sleep 0.1; done
  if ! [ -S "$XDG_RUNTIME_DIR/zenthar-0" ]; then echo "weston did not start" >"$OUT/no-weston"; exit 0; fi
  sleep 1
  xdotool mousemove 600 500   # keys go to the window under the pointer: weston'"'"'s
  WAYLAND_DISPLAY=zenthar-0 SDL_VIDEODRIVER=wayland SDL_AUDIODRIVER=dummy \
    bash "$1/lib/display_session.sh" "$2" "$3" "$4" "$5" "import -window root"
  kill $weston; wait $weston
' bash "$here" "$stage" "$secs" "$presses" "$probe"

if [ -f "$OUT/no-weston" ]; then
  echo "SKIP: weston cannot start here:"; tail -5 "$OUT/weston.log"
  rm -rf "$OUT"
  exit 77
fi
bar=$(/usr/bin/python3 "$here/lib/titlebar.py" "$OUT/stage.png"); echo "$bar"
read -r dark text above < <(sed -n 's/.*bar dark \([0-9.]*\), title text \([0-9.]*\), desktop above dark \([-0-9.]*\)/\1 \2 \3/p' <<<"$bar")
failures=""
awk -v d="${dark:-0}" -v t="${text:-0}" -v a="${above:--1}" 'BEGIN { exit !(d > 0.6 && t > 0.01 && a < 0.3) }' \
  || failures+="FAIL: no title bar above the game window (screenshots kept in $OUT)"$'\n'
figures_header
out=$(figures "weston (Wayland)" 60 "$check_cpu" | grep -v "key-to-screen median")
grep -v '^FAIL' <<<"$out"
fails=$(grep '^FAIL' <<<"$out") && failures+="$fails"$'\n'
if [ -n "$failures" ]; then
  printf '%s' "$failures"
  exit 1
fi
rm -rf "$OUT"
echo "weston e2e passed"
