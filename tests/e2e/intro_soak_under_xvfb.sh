#!/usr/bin/env bash
# The intro three times in a row on a small virtual display, beside a sound
# server of its own (run it through tests/audio/null_sink_session.sh): each
# run must open its sound stream, show a picture that is not uniform and end
# with status 0 on Escape, and leave nothing behind that the next one could
# trip on: no sound stream of its own, nothing in its working folder.
#   intro_soak_under_xvfb.sh <path to velmorand>
set -uo pipefail
intro=$(realpath "$1")
work=$(mktemp -d)
intro_pid=
trap 'kill $xvfb_pid 2>/dev/null; [ -n "$intro_pid" ] && kill $intro_pid 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; tail -20 "$work/intro.log" 2>/dev/null; exit 1; }

[ -n "${PULSE_SERVER:-}" ] || fail "no sound server: run this through null_sink_session.sh"
. "$(dirname "$0")/virtual_display.sh"
start_virtual_display "$work" 320x180
mkdir "$work/run"

streams() { pactl list short sink-inputs | wc -l; }
# wait_streams N WHY: up to two minutes for the server to hold N streams.
wait_streams() {
  for _ in $(seq 1200); do
    [ "$(streams)" -eq "$1" ] && return
    [ -n "$intro_pid" ] && ! kill -0 $intro_pid 2>/dev/null && fail "the intro exited before $2"
    sleep 0.1
  done
  fail "$2: the server holds $(streams) streams, not $1"
}

before=$(streams)
for run in 1 2 3; do
  (cd "$work/run" && DISPLAY="$display" exec "$intro") >"$work/intro.log" 2>&1 &
  intro_pid=$!
  wait_streams $((before + 1)) "run $run played"
  # The first seconds fade in from black.
  colours=0
  for _ in $(seq 60); do
    DISPLAY=$display import -window root "$work/shot.png" 2>/dev/null &&
      colours=$(identify -format '%k' "$work/shot.png")
    [ "$colours" -gt 16 ] && break
    kill -0 $intro_pid 2>/dev/null || fail "run $run exited on its own"
    sleep 1
  done
  [ "$colours" -gt 16 ] || fail "run $run: the picture stayed (nearly) uniform: $colours colours"
  win=$(DISPLAY=$display xdotool search --name '^Velmorand$' 2>/dev/null | head -1)
  DISPLAY=$display xdotool windowfocus --sync "$win" key Escape 2>/dev/null ||
    DISPLAY=$display xdotool key Escape
  for _ in $(seq 600); do kill -0 $intro_pid 2>/dev/null || break; sleep 0.1; done
  kill -0 $intro_pid 2>/dev/null && fail "run $run did not end on Escape"
  wait $intro_pid
  code=$?
  intro_pid=
  [ $code -eq 0 ] || fail "run $run: exit status $code after Escape"
  grep -q -i "wall clock" "$work/intro.log" && fail "run $run found no sound device"
  wait_streams "$before" "run $run ended"
  left=$(ls -A "$work/run")
  [ -z "$left" ] || fail "run $run left files in its working folder: $left"
  echo "run $run: sound stream opened and closed, $colours colours, status 0"
done
echo "1 passed, 0 failed"
