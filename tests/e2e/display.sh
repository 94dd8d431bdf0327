#!/usr/bin/env bash
# The loop on the displays the game meets. Under Xvfb a preloaded stand-in for the display's refresh rate
# and vertical blank gives 60 Hz whose swap waits for the blank, 60 Hz whose swap returns at once (vsync
# off) and 144 Hz with vsync; Xvfb itself reports no rate. Then weston (its X11 back end nested in Xvfb)
# with SDL's Wayland driver, where the window must also have a title bar (libdecor). On each: about 60
# steps a second, at most one shown frame per step, no spinning, a modest CPU share on the title and in
# stage 1, and on the simulated displays steering keys on screen within a few frames (median).
# Windows are wide so that a loaded machine passes and a spinning loop does not.
# ZENTHAR_DISPLAY_SECONDS: each CPU window (default 4); ZENTHAR_DISPLAY_PRESSES: keys timed (default 12).
set -uo pipefail
stage=$(cd "${1:?staged game root}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
shim="$stage/../tests/libzenthar_display_shim.so"
probe="$stage/../tests/zenthar_key_latency"
[ -f "$shim" ] || { echo "FAIL: no display stand-in at $shim"; exit 1; }
[ -x "$probe" ] || { echo "FAIL: no key-to-screen probe at $probe (libxtst-dev, scripts/install-deps.sh)"; exit 1; }
command -v weston >/dev/null || { echo "FAIL: weston is missing (scripts/install-deps.sh)"; exit 1; }
secs=${ZENTHAR_DISPLAY_SECONDS:-4}
presses=${ZENTHAR_DISPLAY_PRESSES:-12}
export SDL_AUDIODRIVER=dummy
# A preloaded library comes before the sanitizer runtime; CPU shares mean nothing in such a build.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0"
check_cpu=1
ldd "$stage/bin/zenthar" | grep -q -e libasan -e libtsan && check_cpu=0
failures=""
fail() { failures+="FAIL: $*"$'\n'; }

figures() {  # $1 = display name, $2 = longest key-to-screen median in ms (0: not judged); reads $OUT
  local r="$OUT/result" steps sps passes pps shown fps ct cs key most="-" swaps
  read -r steps sps passes pps shown fps < <(sed -n 's/^loop: .* \([0-9]*\) steps (\([0-9.]*\)\/s), \([0-9]*\) passes (\([0-9.]*\)\/s), \([0-9]*\) frames shown (\([0-9.]*\)\/s).*/\1 \2 \3 \4 \5 \6/p' "$OUT/stderr")
  ct=$(sed -n 's/^cpu_title //p' "$r"); cs=$(sed -n 's/^cpu_stage //p' "$r")
  key=$(sed -n 's/^key-to-screen: [0-9]* presses, median \([0-9.]*\) ms, p90 \([0-9.]*\) ms.*/\1 \/ \2 ms/p' "$r")
  if [ -f "$OUT/swaps" ]; then  # the stand-in's own count, which also saw the frames before the loop
    swaps=$(sed -n 's/^swaps //p' "$OUT/swaps"); most=$(sed -n 's/^busiest_second //p' "$OUT/swaps")
  fi
  printf '%-18s %7s %8s %8s %7s %6s%% %6s%% %16s   load %s / %s\n' "$1" "${sps:-?}" "${pps:-?}" "${fps:-?}" \
    "$most" "${ct:-?}" "${cs:-?}" "${key:-not timed}" "$(sed -n 's/^load_title //p' "$r")" \
    "$(sed -n 's/^load_stage //p' "$r")"
  grep -qx "exit 0" "$r" || { fail "$1: the game did not end with status 0"; return; }
  [ -n "$steps" ] || { fail "$1: no loop figures on stderr"; return; }
  awk -v v="$sps" 'BEGIN { exit !(v >= 50 && v <= 66) }' || fail "$1: $sps steps/s, not about 60"
  [ "$shown" -le $((steps + 2)) ] || fail "$1: $shown frames shown for $steps steps"
  [ "$passes" -le $((2 * steps + 100)) ] || fail "$1: $passes passes for $steps steps: the loop spins"
  if [ -n "${swaps:-}" ]; then
    { [ "$swaps" -ge "$shown" ] && [ "$swaps" -le $((shown + 3)) ]; } \
      || fail "$1: the game counted $shown frames shown, the display $swaps swaps"
    [ "$most" -le 62 ] || fail "$1: $most frames shown in one second"
  fi
  if [ "$check_cpu" = 1 ]; then
    [ "${ct:-999}" -lt 15 ] || fail "$1: the title takes ${ct}% of a core"
    [ "${cs:-999}" -lt 35 ] || fail "$1: stage 1 takes ${cs}% of a core"
  fi
  if [ "$2" -gt 0 ]; then
    awk -v v="${key%% *}" -v m="$2" 'BEGIN { exit !(v != "" && v <= m) }' || fail "$1: key-to-screen ${key:-not seen}"
  fi
}

printf '%-18s %7s %8s %8s %7s %7s %7s %16s\n' display steps/s passes/s frames/s busiest title stage1 \
  "key median/p90"
for kind in "60 Hz vsync:60:1" "60 Hz vsync off:60:0" "144 Hz vsync:144:1" "no rate (Xvfb):0:-"; do
  IFS=: read -r name hz vsync <<<"$kind"
  export OUT; OUT=$(mktemp -d)
  preload=$shim
  [ "$vsync" = - ] && preload=""
  GAME_PRELOAD=$preload ZENTHAR_SIM_HZ=$hz ZENTHAR_SIM_VSYNC=$vsync ZENTHAR_SIM_REPORT=$OUT/swaps \
    timeout -k 5 90 xvfb-run -a -s "-noreset -screen 0 1024x768x24" \
    bash "$here/lib/display_session.sh" "$stage" "$secs" "$presses" "$probe" ""
  figures "$name" 100
  rm -rf "$OUT"
done

OUT=$(mktemp -d)
export XDG_RUNTIME_DIR="$OUT/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
timeout -k 5 120 xvfb-run -a -s "-noreset -screen 0 1280x1024x24" bash -c '
  weston --backend=x11-backend.so --use-pixman --width=1024 --height=768 --socket=zenthar-0 --idle-time=0 \
    --log="$OUT/weston.log" &
  weston=$!
  for i in $(seq 1 100); do [ -S "$XDG_RUNTIME_DIR/zenthar-0" ] && break; sleep 0.1; done
  [ -S "$XDG_RUNTIME_DIR/zenthar-0" ] || { touch "$OUT/no-weston"; exit 0; }
  sleep 1
  xdotool mousemove 600 500  # keys go to the X window under the pointer: the compositor
  WAYLAND_DISPLAY=zenthar-0 SDL_VIDEODRIVER=wayland bash "$1/lib/display_session.sh" "$2" "$3" "$4" "$5" \
    "import -window root"
  kill $weston; wait $weston
' bash "$here" "$stage" "$secs" "$presses" "$probe"
if [ -f "$OUT/no-weston" ]; then
  echo "SKIP weston: it cannot start here:"; tail -5 "$OUT/weston.log"
else
  figures "weston (Wayland)" 0
  bar=$(/usr/bin/python3 "$here/lib/titlebar.py" "$OUT/stage.png"); echo "$bar"
  read -r dark text above < <(sed -n 's/.*bar dark \([0-9.]*\), title text \([0-9.]*\), desktop above dark \([-0-9.]*\)/\1 \2 \3/p' <<<"$bar")
  awk -v d="${dark:-0}" -v t="${text:-0}" -v a="${above:--1}" 'BEGIN { exit !(d > 0.6 && t > 0.01 && a < 0.3) }' \
    || fail "weston: no title bar above the game window (screenshots in $OUT)"
fi
if [ -n "$failures" ]; then
  printf '%s' "$failures"
  exit 1
fi
rm -rf "$OUT"
echo "display e2e passed"
