#!/usr/bin/env bash
# The intro itself on a virtual 640x360 display with lavapipe and no sound
# server: it must start, show a picture that is not uniform, and end with
# status 0 when Escape is pressed. Then Ctrl-C must end it the same way, both
# during its start-up and while it plays.
#   intro_under_xvfb.sh <path to velmorand> [screenshot.png]
set -uo pipefail
intro=$1
shot=${2:-$(mktemp --suffix=.png)}
work=$(mktemp -d)
intro_pid=
trap 'kill $xvfb_pid 2>/dev/null; [ -n "$intro_pid" ] && kill $intro_pid 2>/dev/null; rm -rf "$work"' EXIT

fail() { echo "FAIL: $*"; cat "$work/intro.log" 2>/dev/null | tail -20; exit 1; }

. "$(dirname "$0")/virtual_display.sh"
start_virtual_display "$work"

# No sound server here: the intro must fall back to its wall clock and say so.
start_intro() {
  env -u PULSE_SERVER DISPLAY="$display" XDG_RUNTIME_DIR="$work" "$intro" >"$work/intro.log" 2>&1 &
  intro_pid=$!
  for _ in $(seq 300); do
    win=$(DISPLAY=$display xdotool search --name '^Velmorand$' 2>/dev/null | head -1)
    [ -n "$win" ] && return
    kill -0 $intro_pid 2>/dev/null || fail "the intro exited before showing its window"
    sleep 0.1
  done
  fail "no window titled Velmorand"
}

# Waits up to 60 s for the intro to end; it must end with status 0.
expect_end() {
  for _ in $(seq 600); do kill -0 $intro_pid 2>/dev/null || break; sleep 0.1; done
  kill -0 $intro_pid 2>/dev/null && fail "the intro did not end on $1"
  wait $intro_pid
  status=$?
  intro_pid=
  [ $status -eq 0 ] || fail "exit status $status after $1"
}

# Start-up (images, soundtrack, the lens dirt on lavapipe) takes a while on a
# loaded machine, and the first seconds fade in from black: playback has
# started once the picture shows something. Look for up to two minutes.
wait_for_playback() {
  colours=0
  for _ in $(seq 60); do
    sleep 2
    kill -0 $intro_pid 2>/dev/null || fail "the intro exited on its own"
    DISPLAY=$display import -window root "$shot" 2>/dev/null || continue
    colours=$(identify -format '%k' "$shot")
    [ "$colours" -gt 16 ] && return
  done
  fail "playback never started: the picture stayed (nearly) uniform ($colours colours)"
}

start_intro
wait_for_playback
echo "screenshot $shot has $colours colours"

DISPLAY=$display xdotool windowfocus --sync "$win" key Escape 2>/dev/null || \
  DISPLAY=$display xdotool key Escape
expect_end Escape
grep -q -i "wall" "$work/intro.log" || echo "note: no wall-clock message (a sound device was found)"

# The shell starts these background jobs with SIGINT ignored; the intro takes
# it all the same. The window shows before the slow part of the start-up.
start_intro
kill -INT $intro_pid
expect_end "Ctrl-C during the start-up"
grep -q -i "wall" "$work/intro.log" && fail "the sound started after Ctrl-C during the start-up"

start_intro
wait_for_playback
kill -INT $intro_pid
expect_end "Ctrl-C while playing"
echo "1 passed, 0 failed"
