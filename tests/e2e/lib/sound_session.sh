#!/usr/bin/env bash
# Runs inside an X server: the game, then a private sound server ($2: pulse, or pipewire with wireplumber
# and pipewire-pulse) with a null sink started after it; the game in stage 1, firing and then not, before
# the server is killed, after it is started again, and after it hung for 3 s. Recordings of the sink's
# monitor (fire.before, music.before, fire.after from the restart on, music.after, hung.after from the
# SIGCONT on) and figures go to $OUT. $1 = staged root, $3 = the interposer preloaded into the game.
set -uo pipefail
cd "$1"
kind=$2
export HOME=$OUT/home XDG_RUNTIME_DIR=$OUT/run XDG_CONFIG_HOME=$OUT/config
mkdir -p "$HOME/.config/pulse" "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME/pipewire/pipewire.conf.d"
chmod 700 "$XDG_RUNTIME_DIR"
echo "autospawn = no" >"$HOME/.config/pulse/client.conf"
unset PULSE_SERVER PULSE_RUNTIME_PATH
now() { date +%s.%N; }
since() { echo "$(now) - $1" | bc; }
if [ "$kind" = pulse ]; then
  export PULSE_RUNTIME_PATH=$XDG_RUNTIME_DIR/pulse PULSE_SERVER=unix:$XDG_RUNTIME_DIR/pulse/native
  monitor=out.monitor
  start_server() {
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --system=false --log-target=stderr \
      -L module-native-protocol-unix -L "module-null-sink sink_name=out" 2>>"$OUT/server.log" &
    daemon=$!; pids=$daemon
  }
else
  # A null sink made by the daemon itself, as a desktop's is there before any client.
  cat >"$XDG_CONFIG_HOME/pipewire/pipewire.conf.d/50-null-sink.conf" <<'EOF'
context.objects = [ { factory = adapter args = { factory.name = support.null-audio-sink node.name = "nullsink"
  media.class = Audio/Sink audio.position = [ FL FR ] monitor.channel-volumes = true monitor.passthrough = true
  adapter.auto-port-config = { mode = dsp monitor = true position = preserve } } } ]
EOF
  # WirePlumber's Bluetooth monitor asks logind for the seat and, where /run/systemd is bare (a
  # container, a fresh root), takes WirePlumber down with it: no policy, no links, a silent sink.
  mkdir -p "$XDG_CONFIG_HOME/wireplumber/bluetooth.lua.d"
  echo "bluez_monitor.enabled = false" >"$XDG_CONFIG_HOME/wireplumber/bluetooth.lua.d/60-no-bluetooth.lua"
  monitor=nullsink.monitor
  start_server() {
    pipewire 2>>"$OUT/server.log" & daemon=$!; sleep 0.5
    wireplumber 2>>"$OUT/server.log" & local wp=$!
    pipewire-pulse 2>>"$OUT/server.log" & pids="$daemon $wp $!"
  }
fi
server() {
  start_server
  for i in $(seq 1 100); do pactl list short sinks 2>/dev/null | grep -q "${monitor%.monitor}" && return 0; sleep 0.05; done
  return 1
}
stream() { pactl list sink-inputs 2>/dev/null | grep -E 'application\.(name|icon_name) = ' | sed 's/^\s*//'; }
# Notes when the game's stream is on the server, in seconds since $start.
await() { for i in $(seq 1 100); do [ -n "$(stream)" ] && { echo "stream $1 after $(since "$start") s" >>"$OUT/figures"; return; }; sleep 0.05; done; }
# Records the sink into $1.raw until stop.
record() { parec --latency-msec=20 -d $monitor --raw --format=s16le --rate=44100 --channels=2 >"$OUT/$1.raw" 2>/dev/null & rec=$!; }
stop() { kill $rec; wait $rec 2>/dev/null; }

# The game starts before the server, as at a login.
LD_PRELOAD=$3 ZENTHAR_AUDIO_SHIM_REPORT=$OUT/shim ZENTHAR_AUDIO_STATS=1 ZENTHAR_LOOP_STATS=1 \
  ./bin/zenthar 2>"$OUT/stderr" &
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
kill -KILL $pids; wait $pids 2>/dev/null
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
# A server that hangs sends nothing, not even a removal: the game gives its output up and takes a
# new one once the server answers again.
kill -STOP $daemon; sleep 3; kill -CONT $daemon
start=$(now)
record hung.after; sleep 4; stop
echo "hung.after ended $(since "$start") s after the SIGCONT" >>"$OUT/figures"
xdotool key Escape
wait $game
echo "exit $?" >"$OUT/status"
kill $pids 2>/dev/null; wait $pids 2>/dev/null
exit 0
