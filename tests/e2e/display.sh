#!/usr/bin/env bash
# The loop on the displays the game meets. Under Xvfb a preloaded stand-in for the display's refresh rate
# and vertical blank gives 60 Hz whose swap waits for the blank, 60 Hz whose swap returns at once (vsync
# off) and 144 Hz with vsync; Xvfb itself reports no rate. Then weston (its X11 back end nested in Xvfb)
# with SDL's Wayland driver, where the window must also have a title bar (libdecor). On each: about 60
# steps a second, at most one shown frame per step, no spinning, a modest CPU share on the title and in
# stage 1, and on the simulated displays steering keys on screen within a few frames (median).
# Windows are wide so that a loaded machine passes and a spinning loop does not.
# ZENTHAR_DISPLAY_SECONDS: each CPU window (default 4); ZENTHAR_DISPLAY_PRESSES: keys timed (default 12).
# A second game root (another build, say the tree before a change) is measured beside the first on each
# display, with the same stand-in and probe, and only reported.
set -uo pipefail
stage=$(cd "${1:?staged game root}" && pwd)
before=""
[ -n "${2:-}" ] && before=$(cd "$2" && pwd)
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
judged=1
fail() { [ "$judged" = 1 ] && failures+="FAIL: $*"$'\n'; }

# Where a key's time goes, medians as the game measured them (waiting for its step, the steps, drawing,
# the swap), then what is left of the key-to-screen median: delivering the key, the compositor, the probe.
breakdown() {  # $1 = key-to-screen median; reads $OUT/stderr
  sed -n 's/^keys: [0-9]*, median to step \([0-9.]*\) ms, steps \([0-9.]*\) ms, drawing \([0-9.]*\) ms, swap \([0-9.]*\) ms$/\1 \2 \3 \4/p' \
    "$OUT/stderr" | awk -v k="$1" '{ printf "%s+%s+%s+%s+%.1f", $1, $2, $3, $4, k - $1 - $2 - $3 - $4 }'
}

figures() {  # $1 = display name, $2 = longest key-to-screen median in ms (0: not judged); reads $OUT
  local r="$OUT/result" steps sps passes pps shown fps ct cs key most="-" swaps
  read -r steps sps passes pps shown fps < <(sed -n 's/^loop: .* \([0-9]*\) steps (\([0-9.]*\)\/s), \([0-9]*\) passes (\([0-9.]*\)\/s), \([0-9]*\) frames shown (\([0-9.]*\)\/s).*/\1 \2 \3 \4 \5 \6/p' "$OUT/stderr")
  ct=$(sed -n 's/^cpu_title //p' "$r"); cs=$(sed -n 's/^cpu_stage //p' "$r")
  key=$(sed -n 's/^key-to-screen: [0-9]* presses, median \([0-9.]*\) ms, p90 \([0-9.]*\) ms.*/\1 \/ \2 ms/p' "$r")
  if [ -f "$OUT/swaps" ]; then  # the stand-in's own count, which also saw the frames before the loop
    swaps=$(sed -n 's/^swaps //p' "$OUT/swaps"); most=$(sed -n 's/^busiest_second //p' "$OUT/swaps")
  fi
  printf '%-25s %7s %8s %8s %7s %6s%% %6s%% %16s %24s   load %s / %s\n' "$1" "${sps:-?}" "${pps:-?}" "${fps:-?}" \
    "$most" "${ct:-?}" "${cs:-?}" "${key:-not timed}" "$(breakdown "${key%% *}")" \
    "$(sed -n 's/^load_title //p' "$r")" "$(sed -n 's/^load_stage //p' "$r")"
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

# One session takes the two CPU windows, about 10 s around them and a quarter second a key.
limit=$((60 + 2 * secs + presses / 4))

simulated() {  # $1 = game root, $2 = refresh rate (0: Xvfb's none), $3 = vsync
  local preload=$shim
  [ "$2" = 0 ] && preload=""
  GAME_PRELOAD=$preload ZENTHAR_SIM_HZ=$2 ZENTHAR_SIM_VSYNC=$3 ZENTHAR_SIM_REPORT=$OUT/swaps \
    timeout -k 5 $limit xvfb-run -a -s "-noreset -screen 0 1024x768x24" \
    bash "$here/lib/display_session.sh" "$1" "$secs" "$presses" "$probe" ""
}

wayland() {  # $1 = game root
  export XDG_RUNTIME_DIR="$OUT/runtime"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  timeout -k 5 $((limit + 30)) xvfb-run -a -s "-noreset -screen 0 1280x1024x24" bash -c '
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
  ' bash "$here" "$1" "$secs" "$presses" "$probe"
}

printf '%-25s %7s %8s %8s %7s %7s %7s %16s %24s\n' display steps/s passes/s frames/s busiest title stage1 \
  "key median/p90" "step wait+step+draw+swap+after"
for kind in "60 Hz vsync:60:1" "60 Hz vsync off:60:0" "144 Hz vsync:144:1" "no rate (Xvfb):0:-" "weston (Wayland)"; do
  IFS=: read -r name hz vsync <<<"$kind"
  for root in "$stage" $before; do
    export OUT; OUT=$(mktemp -d)
    label=$name judged=1
    [ "$root" = "$stage" ] || label="$name (before)" judged=0
    if [ -n "$hz" ]; then
      simulated "$root" "$hz" "$vsync"
      figures "$label" 100
    else
      wayland "$root"
      [ -f "$OUT/no-weston" ] && { echo "SKIP weston: it cannot start here:"; tail -5 "$OUT/weston.log"; continue; }
      figures "$label" 0
      if [ "$judged" = 1 ]; then
        bar=$(/usr/bin/python3 "$here/lib/titlebar.py" "$OUT/stage.png"); echo "$bar"
        read -r dark text above < <(sed -n 's/.*bar dark \([0-9.]*\), title text \([0-9.]*\), desktop above dark \([-0-9.]*\)/\1 \2 \3/p' <<<"$bar")
        awk -v d="${dark:-0}" -v t="${text:-0}" -v a="${above:--1}" 'BEGIN { exit !(d > 0.6 && t > 0.01 && a < 0.3) }' \
          || { fail "weston: no title bar above the game window (screenshots in $OUT)"; continue; }
      fi
    fi
    rm -rf "$OUT"
  done
done
if [ -n "$failures" ]; then
  printf '%s' "$failures"
  exit 1
fi
echo "display e2e passed"
