#!/usr/bin/env bash
# The loop on the displays the game meets, under Xvfb with a preloaded stand-in for the display's refresh
# rate and vertical blank: 60 Hz whose swap waits for the blank, 60 Hz whose swap returns at once (vsync
# off), 144 Hz with vsync, and no rate at all (Xvfb as it is). On each: about 60 steps a second, at most
# one shown frame per step and no more than the display shows, no spinning, a modest CPU share on the
# title and in stage 1, and steering keys on screen within a step and a frame or two.
# ZENTHAR_DISPLAY_SECONDS: length of each CPU window (default 4); ZENTHAR_DISPLAY_PRESSES: steering
# keys timed on each display (default 12).
set -uo pipefail
stage=$(cd "${1:?staged game root}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
source "$here/lib/loop_figures.sh"
shim="$stage/../tests/libzenthar_display_shim.so"
probe="$stage/../tests/zenthar_key_latency"
[ -f "$shim" ] || { echo "FAIL: no display stand-in at $shim"; exit 1; }
[ -x "$probe" ] || { echo "FAIL: no key-to-screen probe at $probe (libxtst-dev, scripts/install-deps.sh)"; exit 1; }
secs=${ZENTHAR_DISPLAY_SECONDS:-4}
presses=${ZENTHAR_DISPLAY_PRESSES:-12}
export SDL_AUDIODRIVER=dummy
# A preloaded library comes before the sanitizer runtime; CPU shares mean nothing in such a build.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"
check_cpu=1
ldd "$stage/bin/zenthar" | grep -q -e libasan -e libtsan && check_cpu=0

figures_header
failures=""
for kind in "60 Hz vsync:60:1" "60 Hz vsync off:60:0" "144 Hz vsync:144:1" "no rate (Xvfb):0:-"; do
  IFS=: read -r name hz vsync <<<"$kind"
  export OUT; OUT=$(mktemp -d)
  if [ "$vsync" = - ]; then
    preload=""
  else
    preload=$shim
  fi
  GAME_PRELOAD=$preload ZENTHAR_SIM_HZ=$hz ZENTHAR_SIM_VSYNC=$vsync ZENTHAR_SIM_REPORT=$OUT/swaps \
    timeout -k 5 90 xvfb-run -a -s "-noreset -screen 0 1024x768x24" \
    bash "$here/lib/display_session.sh" "$stage" "$secs" "$presses" "$probe" ""
  out=$(figures "$name" "$hz" "$check_cpu")
  grep -v '^FAIL' <<<"$out"
  fails=$(grep '^FAIL' <<<"$out") && failures+="$fails"$'\n'
  rm -rf "$OUT"
done
if [ -n "$failures" ]; then
  printf '%s' "$failures"
  exit 1
fi
echo "display e2e passed"
