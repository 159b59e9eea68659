#!/usr/bin/env bash
# velmorand.exe under Wine, on the display and sound server of the Wine
# session that runs the tests (scripts/wine-session): it must open its window
# titled "Velmorand", show a lit picture that is not uniform within two
# minutes, play its sound through winmm (not the silent wall clock) and end
# with status 0 when Escape is pressed.
#   intro_under_wine.sh <velmorand.exe> [screenshot.png]
set -uo pipefail
exe=$1
shot=${2:-$(mktemp --suffix=.png)}
log=$(mktemp)
[ -n "${DISPLAY:-}" ] && [ -n "${WINEPREFIX:-}" ] || { echo "FAIL: run me inside scripts/wine-session"; exit 1; }
trap 'kill $intro_pid 2>/dev/null; rm -f "$log"' EXIT

fail() { echo "FAIL: $*"; tail -20 "$log"; exit 1; }

start=$(date +%s.%N)
WINEDEBUG=err+all wine "$exe" >"$log" 2>&1 &
intro_pid=$!

for _ in $(seq 600); do
  win=$(xdotool search --name '^Velmorand$' 2>/dev/null | head -1)
  [ -n "$win" ] && break
  kill -0 $intro_pid 2>/dev/null || fail "the intro exited before showing its window"
  sleep 0.1
done
[ -n "$win" ] || fail "no window titled Velmorand"

# Lit: the mean is well above black; not uniform: many colours.
colours=0 mean=0
for _ in $(seq 60); do
  sleep 2
  kill -0 $intro_pid 2>/dev/null || fail "the intro exited on its own"
  import -window root "$shot" 2>/dev/null || continue
  colours=$(identify -format '%k' "$shot")
  mean=$(identify -format '%[fx:int(255*mean)]' "$shot")
  [ "$colours" -gt 64 ] && [ "$mean" -gt 8 ] && break
done
seconds=$(echo "$(date +%s.%N) - $start" | bc)
echo "screenshot $shot: $colours colours, mean $mean/255, ${seconds%.*} s after start"
[ "$colours" -gt 64 ] && [ "$mean" -gt 8 ] || fail "no lit, varied picture: $colours colours, mean $mean"

xdotool key Escape
for _ in $(seq 300); do kill -0 $intro_pid 2>/dev/null || break; sleep 0.1; done
kill -0 $intro_pid 2>/dev/null && fail "the intro did not end on Escape"
wait $intro_pid
status=$?
[ $status -eq 0 ] || fail "exit status $status after Escape"
# The wall clock stands in silently when winmm opens no device or refuses the
# soundtrack: the picture would still pass, the sound never played.
grep -i "wall clock" "$log" && fail "the intro played no sound: it ran on the wall clock"
grep -m1 "DXVK: [0-9]" "$log"
echo "1 passed, 0 failed"
