#!/usr/bin/env bash
# The game's sound through a real sound server that starts after the game, goes away in the middle of
# stage 1, comes back, then hangs for a while: the stream is named for the game, the game plays on, its
# sound comes within seconds each time, and only the sound back end's own thread calls SDL's audio.
# Three times: PulseAudio; PipeWire through pipewire-pulse (SDL's choice); PipeWire through SDL's own
# back end, which never tells that the daemon died.
set -uo pipefail
stage=${1:?staged game root}
here=$(cd "$(dirname "$0")" && pwd)
shim=$(cd "$stage/.." && pwd)/tests/libzenthar_audio_shim.so
for c in pulseaudio parec pipewire wireplumber pipewire-pulse dbus-run-session; do
  command -v $c >/dev/null || { echo "FAIL: $c is needed (scripts/install-deps.sh)"; exit 1; }
done
[ -f "$shim" ] || { echo "FAIL: no $shim"; exit 1; }
within() { awk -v v="$1" -v lo="$2" -v hi="$3" 'BEGIN { exit !(v >= lo && v <= hi) }'; }
# RMS or peak amplitude (0..1) of a raw recording, from $2 seconds on for $3 seconds.
level() { sox -t raw -r 44100 -e signed -b 16 -c 2 "$1" -n trim "$2" "$3" stat 2>&1 | awk -v k="$4" '$0 ~ k" +amplitude" { print $3 }'; }
# Seconds from $2 to the first sound in recording $1.raw, which ended $3 seconds after $2.
heard() {
  local frames=$(( $(stat -c %s "$OUT/$1.raw") / 4 )) onset
  onset=$(sox -t raw -r 44100 -e signed -b 16 -c 2 "$OUT/$1.raw" -t dat - 2>/dev/null \
    | awk '!/^;/ && ($2 > 0.01 || $2 < -0.01 || $3 > 0.01 || $3 < -0.01) { print $1; exit }')
  [ -n "$onset" ] && echo "$2 - $frames / 44100 + $onset" | bc -l
}

# $1 = pulse or pipewire, $2 = the game's SDL_AUDIODRIVER (empty: unset), $3 = how soon the sound must
# be back after a restart, in seconds (PulseAudio's null sink takes a burst and then waits 1.9 s).
run() {
  local name="$1${2:+ (SDL_AUDIODRIVER=$2)}"
  export OUT=$(mktemp -d)
  fail() { echo "FAIL ($name): $*"; echo "recordings kept in $OUT"; tail -5 "$OUT/server.log" 2>/dev/null; exit 1; }
  local driver=(-u SDL_AUDIODRIVER)
  [ -n "$2" ] && driver=(SDL_AUDIODRIVER="$2")
  echo "== $name"
  timeout -k 5 150 xvfb-run -a -s "-noreset -screen 0 1024x768x24" env "${driver[@]}" \
    dbus-run-session -- bash "$here/lib/sound_session.sh" "$stage" "$1" "$shim" 2>"$OUT/session.log" \
    || fail "session did not finish"
  cat "$OUT/figures"
  grep -q '^application.name = "Zenthar"' "$OUT/figures" || fail "the stream is not named Zenthar"
  # libpulse reads the icon from the environment; SDL's own PipeWire back end names none.
  [ "$2" = pipewire ] || grep -q '^application.icon_name = "zenthar"' "$OUT/figures" || fail "the stream has not the game's icon"
  came=$(awk '/^stream came after/ { print $4 }' "$OUT/figures")
  within "${came:-99}" 0 3 || fail "no stream within 3 s of a server started after the game"
  back=$(awk '/^stream back after/ { print $4 }' "$OUT/figures")
  within "${back:-99}" 0 3 || fail "the stream came back only after ${back:-never} s"
  again=$(heard fire.after "$(awk '/^fire.after ended/ { print $3 }' "$OUT/figures")")
  printf "sound again %.2f s after the restart\n" "${again:-99}"
  within "${again:-99}" 0 "$3" || fail "the sound came back only after ${again:-never} s"
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
  [ "$(grep -c . "$OUT/stderr")" -le "$(( $(cat "$OUT/lines.start") + 3 ))" ] || fail "stderr grew: $(tail -3 "$OUT/stderr")"
  steps=$(grep -oE '[0-9.]+/s\)' "$OUT/stderr" | head -1 | tr -d '/s)')
  echo "update steps per second over the session: ${steps:-none}"
  within "${steps:-0}" 55 65 || fail "the loop did not keep its rate"
  # One thread calls SDL's audio and SDL_mixer, never the game's, and no hint changes meanwhile; the
  # game's calls into the sound output never wait, through a kill, a restart and a hung server.
  cat "$OUT/shim"
  grep -q "threads 1, on the game's thread 0 " "$OUT/shim" || fail "SDL's audio called from more than one thread"
  grep -q "ran 0 " "$OUT/shim" || fail "a hint changed while the audio thread ran"
  grep '^audio:' "$OUT/stderr"
  longest=$(grep -oE 'thread, the longest [0-9.]+ ms' "$OUT/stderr" | awk '{ print $4 }')
  within "${longest:-99}" 0 1 || fail "an audio call took the game's thread ${longest:-?} ms"
  rm -rf "$OUT"
}

run pulse "" 4
run pipewire "" 3
run pipewire pipewire 3
echo "sound server e2e passed"
