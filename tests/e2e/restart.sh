#!/usr/bin/env bash
# A lost ship and Restart in a real X window: the restarted stage 1 brings its first enemies within
# seconds, as the first attempt did.
set -uo pipefail
stage=${1:?staged game root}
here=$(cd "$(dirname "$0")" && pwd)
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$(mktemp)
export OUT=$(mktemp -d)
fail() { echo "FAIL: $*"; echo "screenshots kept in $OUT"; exit 1; }

timeout -k 5 110 xvfb-run -a -s "-noreset -screen 0 1024x768x24" bash "$here/lib/restart_session.sh" "$stage" \
  || fail "session did not finish"
cat "$OUT/figures" 2>/dev/null
grep -q "^first" "$OUT/figures" || fail "no enemies in the first seconds of the first attempt"
grep -q "^over" "$OUT/figures" || fail "the ship was never lost"
grep -q "^pointer on Restart" "$OUT/figures" || fail "the game-over pointer is not on Restart"
grep -q "^restart" "$OUT/figures" || fail "no enemies within 12 s of Restart"
grep -q "exit 0" "$OUT/status" || fail "Escape: $(cat "$OUT/status")"
rm -rf "$OUT" "$SDL_DISKAUDIOFILE"
echo "restart e2e passed"
