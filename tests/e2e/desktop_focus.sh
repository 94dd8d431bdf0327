#!/usr/bin/env bash
# The staged game in a real X window, bare and under openbox: it stops behind another client and runs
# again as soon as the focus comes back (or, under openbox, it is restored from minimised), with no key;
# Ctrl+Escape and Alt+Escape keep it, Alt+F4 ends it.
set -uo pipefail
stage=${1:?staged game root}
here=$(cd "$(dirname "$0")" && pwd)
command -v openbox >/dev/null || { echo "FAIL: openbox is missing (scripts/install-deps.sh)"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SDL_AUDIODRIVER=dummy
for mode in bare wm; do
  export OUT=$work/$mode
  mkdir -p "$OUT"
  timeout -k 5 80 xvfb-run -a -s "-noreset -screen 0 1024x768x24" bash "$here/lib/focus_session.sh" "$stage" $mode
  rc=$?
  [ $rc = 0 ] || { echo "FAIL ($mode): session status $rc"; cat "$OUT/stderr"; exit 1; }
done
echo "desktop_focus e2e passed"
