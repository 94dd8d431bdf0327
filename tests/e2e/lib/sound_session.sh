#!/usr/bin/env bash
# Runs inside an X server: the game, then a private PulseAudio with a null sink started after it; the
# game in stage 1, firing and then not, before the server is killed and after it is started again.
# Recordings of the sink's monitor (fire.before, music.before, fire.after from the restart on,
# music.after) and figures go to $OUT.
# $1 = staged root
set -uo pipefail
cd "$1"
export HOME=$OUT/home PULSE_RUNTIME_PATH=$OUT/pulse XDG_RUNTIME_DIR=$OUT/pulse
export PULSE_SERVER=unix:$OUT/pulse/native
mkdir -p "$HOME/.config/pulse" "$PULSE_RUNTIME_PATH"
echo "autospawn = no" >"$HOME/.config/pulse/client.conf"
now() { date +%s.%N; }
since() { echo "$(now) - $1" | bc; }
server() {
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --system=false --log-target=stderr \
    -L module-native-protocol-unix -L "module-null-sink sink_name=out" 2>>"$OUT/pulse.log" &
  pulse=$!
  for i in $(seq 1 100); do pactl info >/dev/null 2>&1 && return 0; sleep 0.05; done
  return 1
}
stream() { pactl list sink-inputs 2>/dev/null | grep -E 'application\.(name|icon_name) = ' | sed 's/^\s*//'; }
# Notes when the game's stream is on the server, in seconds since $start.
await() { for i in $(seq 1 100); do [ -n "$(stream)" ] && { echo "stream $1 after $(since "$start") s" >>"$OUT/figures"; return; }; sleep 0.05; done; }
# Records the sink into $1.raw until stop.
record() { parec --latency-msec=20 -d out.monitor --raw --format=s16le --rate=44100 --channels=2 >"$OUT/$1.raw" 2>/dev/null & rec=$!; }
stop() { kill $rec; wait $rec 2>/dev/null; }

# The game starts before the server, on SDL's own choice of back end, as at a login.
env -u SDL_AUDIODRIVER ZENTHAR_LOOP_STATS=1 ./bin/zenthar 2>"$OUT/stderr" &
game=$!
for i in $(seq 1 150); do xdotool search --name "^Zenthar$" >/dev/null 2>&1 && break; sleep 0.1; done
sleep 1
grep -c . "$OUT/stderr" >"$OUT/lines.start"
start=$(now)
server || { echo "no server" >>"$OUT/figures"; exit 1; }
await came
sleep 1
xdotool key f                                # Game_Start
sleep 1
stream >>"$OUT/figures"
xdotool keydown f; record fire.before; sleep 3; stop
xdotool keyup f; record music.before; sleep 2.5; stop
kill -KILL $pulse; wait $pulse 2>/dev/null
xdotool keydown f
sleep 3                                      # the game plays on without a server
start=$(now)
server || { echo "no server again" >>"$OUT/figures"; exit 1; }
echo "server up after $(since "$start") s" >>"$OUT/figures"
record fire.after
await back
sleep 4; stop
# The monitor gives sound only once the sink renders: the recording ends as it was stopped.
echo "fire.after ended $(since "$start") s after the restart" >>"$OUT/figures"
xdotool keyup f; record music.after; sleep 2.5; stop
xdotool key Escape
wait $game
echo "exit $?" >"$OUT/status"
kill $pulse 2>/dev/null; wait $pulse 2>/dev/null
exit 0
