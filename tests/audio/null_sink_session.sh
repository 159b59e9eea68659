#!/usr/bin/env bash
# Runs one command beside a PulseAudio server of its own with a null sink,
# started here and stopped afterwards:  null_sink_session.sh COMMAND [ARG...]
# An idle null sink works in 2-second blocks and a new stream plays slow until
# it wakes, so a silent client keeps it awake at a low latency first.
set -euo pipefail
session=$(mktemp -d /tmp/velmorand-pulse.XXXXXX)
chmod 700 "$session"
pids=()
trap 'for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; rm -rf "$session"' EXIT
export XDG_RUNTIME_DIR="$session" PULSE_SERVER="unix:$session/pulse-native"
pulseaudio --daemonize=no --exit-idle-time=-1 --disable-shm -n \
  --load="module-native-protocol-unix socket=$session/pulse-native auth-anonymous=1" \
  --load="module-null-sink sink_name=null" >"$session/pulse.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl info >/dev/null 2>&1 || { echo "PulseAudio did not start" >&2; cat "$session/pulse.log" >&2; exit 1; }
pacat --playback --raw --latency-msec=20 /dev/zero &
pids+=($!)
for _ in $(seq 50); do
  pactl list sinks | awk '/^\tLatency:/ { exit !($2 < 100000) }' && break
  sleep 0.1
done
"$@"
