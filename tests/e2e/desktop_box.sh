#!/usr/bin/env bash
# The game's own message boxes in a real X window, bare and under openbox: Option shows a box with its
# Japanese text that Return closes; a missing spawn table shows "error", and play goes on after OK.
set -uo pipefail
stage=${1:?staged game root}
here=$(cd "$(dirname "$0")" && pwd)
command -v openbox >/dev/null || { echo "FAIL: openbox is missing (scripts/install-deps.sh)"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$stage" "$work/notable"
rm "$work/notable/Table/table1.txt"
export SDL_AUDIODRIVER=dummy
for mode in bare wm; do
  export OUT=$work/$mode
  mkdir -p "$OUT"
  timeout -k 5 80 xvfb-run -a -s "-noreset -screen 0 1024x768x24" bash "$here/lib/box_session.sh" "$stage" "$work/notable" $mode
  rc=$?
  [ $rc = 0 ] || { echo "FAIL ($mode): session status $rc"; cat "$OUT/stderr"; exit 1; }
done
echo "desktop_box e2e passed"
