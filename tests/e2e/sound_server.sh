#!/usr/bin/env bash
# The game's sound through a real sound server that starts after the game, goes away in the middle of
# stage 1 and comes back: the stream is named for the game, the game plays on, and its sound comes
# within seconds each time.
set -uo pipefail
stage=${1:?staged game root}
here=$(cd "$(dirname "$0")" && pwd)
command -v pulseaudio >/dev/null && command -v parec >/dev/null || { echo "FAIL: pulseaudio and pulseaudio-utils are needed"; exit 1; }
export OUT=$(mktemp -d)
fail() { echo "FAIL: $*"; echo "recordings kept in $OUT"; cat "$OUT/pulse.log" 2>/dev/null | tail -5; exit 1; }
within() { awk -v v="$1" -v lo="$2" -v hi="$3" 'BEGIN { exit !(v >= lo && v <= hi) }'; }
# RMS or peak amplitude (0..1) of a raw recording, from $2 seconds on for $3 seconds.
level() { sox -t raw -r 44100 -e signed -b 16 -c 2 "$1" -n trim "$2" "$3" stat 2>&1 | awk -v k="$4" '$0 ~ k" +amplitude" { print $3 }'; }

timeout -k 5 120 xvfb-run -a -s "-noreset -screen 0 1024x768x24" bash "$here/lib/sound_session.sh" "$stage" \
  || fail "session did not finish"
cat "$OUT/figures"
grep -q '^application.name = "Zenthar"' "$OUT/figures" || fail "the stream is not named Zenthar"
grep -q '^application.icon_name = "zenthar"' "$OUT/figures" || fail "the stream has not the game's icon"
came=$(awk '/^stream came after/ { print $4 }' "$OUT/figures")
within "${came:-99}" 0 3 || fail "no stream within 3 s of a server started after the game"
grep -q '^stream back after' "$OUT/figures" || fail "no stream came back after the server did"
back=$(awk '/^stream back after/ { print $4 }' "$OUT/figures")
within "$back" 0 3 || fail "the stream came back only after $back s"

# When the sound came back: the recording from the restart on ends when it was stopped.
frames=$(( $(stat -c %s "$OUT/fire.after.raw") / 4 ))
onset=$(sox -t raw -r 44100 -e signed -b 16 -c 2 "$OUT/fire.after.raw" -t dat - 2>/dev/null \
  | awk '!/^;/ && ($2 > 0.01 || $2 < -0.01 || $3 > 0.01 || $3 < -0.01) { print $1; exit }')
ended=$(awk '/^fire.after ended/ { print $3 }' "$OUT/figures")
[ -n "$onset" ] || fail "no sound after the restart"
heard=$(echo "$ended - $frames / 44100 + $onset" | bc -l)
printf "sound again %.2f s after the restart\n" "$heard"
within "$heard" 0 4 || fail "the sound came back only after $heard s"

# Music and effects, then the music alone, before the server went away and after it came back.
for part in fire.before music.before fire.after music.after; do
  rms=$(level "$OUT/$part.raw" -1.8 1.5 RMS); peak=$(level "$OUT/$part.raw" 0 10 Maximum)
  echo "$part: RMS $rms, peak $peak"
  within "$rms" 0.005 1 || fail "$part: silent (RMS $rms)"
  within "$peak" 0 0.97 || fail "$part: clipped (peak $peak)"
done
grep -q "exit 0" "$OUT/status" || fail "Escape: $(cat "$OUT/status")"
# Waiting for the server, the game asks only for it: SDL's other back ends print at every failed try.
[ "$(grep -c . "$OUT/stderr")" -le "$(( $(cat "$OUT/lines.start") + 2 ))" ] || fail "stderr grew: $(tail -3 "$OUT/stderr")"
steps=$(grep -oE '[0-9.]+/s\)' "$OUT/stderr" | head -1 | tr -d '/s)')
echo "update steps per second over the session: ${steps:-none}"
within "${steps:-0}" 55 65 || fail "the loop did not keep its rate"
rm -rf "$OUT"
echo "sound server e2e passed"
