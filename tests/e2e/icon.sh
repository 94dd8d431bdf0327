#!/usr/bin/env bash
# The window carries the pictures of bin/game.ico as its icon, also when the game root lies under a
# directory whose name holds brackets ("Games [x86]").
set -uo pipefail
stage=${1:?staged game root}
tmp=$(mktemp -d /tmp/zenthar_icon.XXXXXX)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
export SDL_AUDIODRIVER=dummy

# The largest frame, as the window manager gets it: 32-bit ARGB numbers, row by row.
convert "$stage/bin/game.ico[0]" -depth 8 "rgba:$tmp/want.rgba" || fail "cannot read $stage/bin/game.ico"

window_icon() {  # $1 = game root; prints the window's _NET_WM_ICON and the game's exit status
  cd "$1" || return 1
  timeout -k 5 60 xvfb-run -a -s "-noreset -screen 0 1024x768x24" bash -c '
    ./bin/zenthar 2> "$0/err" & pid=$!
    for i in $(seq 1 150); do
      w=$(xdotool search --name "^Zenthar$" 2> /dev/null | head -1)
      [ -n "$w" ] && break
      sleep 0.1
    done
    # The icon follows the window by a moment.
    for i in $(seq 1 50); do xprop -id "$w" _NET_WM_ICON 2> /dev/null | grep -q "=" && break; sleep 0.1; done
    xprop -notype -id "$w" 32c _NET_WM_ICON
    xdotool key Escape
    wait $pid; echo "exit $?"
    cat "$0/err"
  ' "$tmp"
}

same_picture() {  # stdin: the xprop line; compares it with want.rgba
  python3 -c '
import sys
want = open(sys.argv[1], "rb").read()
line = next((l for l in sys.stdin if l.startswith("_NET_WM_ICON")), "")
if "=" not in line:
    sys.exit("the window has no icon")
v = [int(x) for x in line.split("=", 1)[1].split(",")]
w, h, px = v[0], v[1], v[2:]
n = len(want) // 4
if w * h != n or len(px) < n:
    sys.exit("icon is %d x %d, game.ico frame has %d pixels" % (w, h, n))
bad = 0
for i in range(n):
    r, g, b, a = want[4 * i:4 * i + 4]
    got = px[i]
    if (got >> 24) != a or (a and (got & 0xFFFFFF) != (r << 16 | g << 8 | b)):
        bad += 1
if bad:
    sys.exit("%d of %d icon pixels differ from game.ico" % (bad, n))
print("icon %d x %d matches game.ico" % (w, h))
' "$tmp/want.rgba"
}

games="$tmp/Games [x86]/Zenthar"
mkdir -p "$(dirname "$games")" && cp -r "$stage" "$games" || fail "cannot copy the game root"
for root in "$stage" "$games"; do
  out=$(window_icon "$root") || fail "session under $root did not finish: $out"
  grep -qx "exit 0" <<<"$out" || fail "the game under $root did not end with 0: $out"
  verdict=$(same_picture <<<"$out" 2>&1) || fail "under $root: $verdict"
  echo "$root: $verdict"
done
echo "icon e2e passed"
