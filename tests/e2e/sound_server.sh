#!/usr/bin/env bash
# The game's sound through a real sound server that starts after the game, goes away in the middle of
# stage 1, comes back, then hangs for a while: the stream is named for the game, the game plays on, its
# sound comes within seconds each time, and only the sound back end's own thread calls SDL's audio.
# Three times: PulseAudio; PipeWire through pipewire-pulse (SDL's choice); PipeWire through SDL's own
# back end, which never tells that the daemon died. One run: $2 = pulse or pipewire, $3 = the game's
# SDL_AUDIODRIVER (- for unset), $4 = how soon the sound must be back after a restart, in seconds
# (PulseAudio's null sink takes a burst and then waits 1.9 s).
set -uo pipefail
stage=${1:?staged game root}
if [ $# -lt 2 ]; then
  for run in "pulse - 4" "pipewire - 3" "pipewire pipewire 3"; do bash "$0" "$stage" $run || exit 1; done
  echo "sound server e2e passed"; exit 0
fi
kind=$2 driver=${3#-} soon=$4
here=$(cd "$(dirname "$0")" && pwd)
shim=$(cd "$stage/.." && pwd)/tests/libzenthar_audio_shim.so
for c in pulseaudio parec pipewire wireplumber pipewire-pulse dbus-run-session; do
  command -v $c >/dev/null || { echo "FAIL: $c is needed (scripts/install-deps.sh)"; exit 1; }
done
export OUT=$(mktemp -d)
echo "== $kind${driver:+ (SDL_AUDIODRIVER=$driver)}"
fail() { echo "FAIL: $*"; echo "recordings kept in $OUT"; cat "$OUT/server.log" 2>/dev/null | tail -5; exit 1; }
within() { awk -v v="$1" -v lo="$2" -v hi="$3" 'BEGIN { exit !(v >= lo && v <= hi) }'; }
# RMS or peak amplitude (0..1) of a raw recording, from $2 seconds on for $3 seconds.
level() { sox -t raw -r 44100 -e signed -b 16 -c 2 "$1" -n trim "$2" "$3" stat 2>&1 | awk -v k="$4" '$0 ~ k" +amplitude" { print $3 }'; }
# Seconds from an event to the first sound in recording $1.raw, which ended $2 seconds after it.
heard() {
  local frames=$(( $(stat -c %s "$OUT/$1.raw") / 4 )) onset
  onset=$(sox -t raw -r 44100 -e signed -b 16 -c 2 "$OUT/$1.raw" -t dat - 2>/dev/null \
    | awk '!/^;/ && ($2 > 0.01 || $2 < -0.01 || $3 > 0.01 || $3 < -0.01) { print $1; exit }')
  # awk, not bc: sox writes the first samples' times as 2.2675737e-05.
  [ -n "$onset" ] && awk -v e="$2" -v f="$frames" -v o="$onset" 'BEGIN { printf "%.6f\n", e - f / 44100 + o }'
}

[ -n "$driver" ] && env=(SDL_AUDIODRIVER="$driver") || env=(-u SDL_AUDIODRIVER)
timeout -k 5 150 xvfb-run -a -s "-noreset -screen 0 1024x768x24" env "${env[@]}" \
  dbus-run-session -- bash "$here/lib/sound_session.sh" "$stage" "$kind" "$shim" 2>"$OUT/session.log" \
  || fail "session did not finish"
cat "$OUT/figures"
grep -q '^application.name = "Zenthar"' "$OUT/figures" || fail "the stream is not named Zenthar"
# libpulse reads the icon from the environment; SDL's own PipeWire back end names none.
[ "$driver" = pipewire ] || grep -q '^application.icon_name = "zenthar"' "$OUT/figures" || fail "the stream has not the game's icon"
came=$(awk '/^stream came after/ { print $4 }' "$OUT/figures")
within "${came:-99}" 0 3 || fail "no stream within 3 s of a server started after the game"
grep -q '^stream back after' "$OUT/figures" || fail "no stream came back after the server did"
back=$(awk '/^stream back after/ { print $4 }' "$OUT/figures")
within "$back" 0 3 || fail "the stream came back only after $back s"

heard=$(heard fire.after "$(awk '/^fire.after ended/ { print $3 }' "$OUT/figures")")
[ -n "$heard" ] || fail "no sound after the restart"
printf "sound again %.2f s after the restart\n" "$heard"
within "$heard" 0 "$soon" || fail "the sound came back only after $heard s"
hung=$(heard hung.after "$(awk '/^hung.after ended/ { print $3 }' "$OUT/figures")")
printf "sound again %.2f s after the hung server went on\n" "${hung:-99}"
within "${hung:-99}" 0 3 || fail "the sound came back only ${hung:-never} s after the hung server went on"

# Music and effects, then the music alone, before the server went away and after it came back.
for part in fire.before music.before fire.after music.after; do
  rms=$(level "$OUT/$part.raw" -1.8 1.5 RMS); peak=$(level "$OUT/$part.raw" 0 10 Maximum)
  echo "$part: RMS $rms, peak $peak"
  within "$rms" 0.005 1 || fail "$part: silent (RMS $rms)"
  within "$peak" 0 0.97 || fail "$part: clipped (peak $peak)"
done
grep -q "exit 0" "$OUT/status" || fail "Escape: $(cat "$OUT/status")"
# Waiting for the server, the game asks only for it: SDL's other back ends print at every failed try.
# At the end come the loop's and the audio calls' figures.
[ "$(grep -vE '^(loop|pacing|keys|audio): ' "$OUT/stderr" | grep -c .)" -le "$(cat "$OUT/lines.start")" ] ||
  fail "stderr grew: $(tail -3 "$OUT/stderr")"
steps=$(grep -oE '[0-9.]+/s\)' "$OUT/stderr" | head -1 | tr -d '/s)')
echo "update steps per second over the session: ${steps:-none}"
within "${steps:-0}" 55 65 || fail "the loop did not keep its rate"
# One thread calls SDL's audio and SDL_mixer, never the game's, and no hint changes meanwhile; the
# game's calls into the sound output never wait, through a kill, a restart and a hung server.
cat "$OUT/shim" "$OUT/stderr" | grep -E '^(audio|hints)'
grep -q "threads 1, on the game's thread 0 " "$OUT/shim" || fail "SDL's audio called from more than one thread"
grep -q "ran 0 " "$OUT/shim" || fail "a hint changed while the audio thread ran"
longest=$(grep -oE 'thread, the longest [0-9.]+ ms' "$OUT/stderr" | awk '{ print $4 }')
within "${longest:-99}" 0 1 || fail "an audio call took the game's thread ${longest:-?} ms"
rm -rf "$OUT"
