#!/usr/bin/env bash
# The author's player in a real window on a virtual display, lavapipe and no
# sound server (it plays on the wall clock): xdotool's keys must pause it,
# move it by a bar and to the next section, follow a resize of the window with
# a picture of the new size, and play it again, as its status lines on stderr
# tell; paused at a section's start its window shows the capture tool's still
# of that moment; Escape ends it with status 0.
#   preview_under_xvfb.sh <velmorand-preview> <velmorand-capture> <compare_stills>
set -uo pipefail
preview=$1 capture=$2 compare=$3
work=$(mktemp -d)
trap 'kill $xvfb_pid 2>/dev/null; kill $preview_pid 2>/dev/null; rm -rf "$work"' EXIT
log=$work/preview.log

fail() { echo "FAIL: $*"; tail -20 "$log" 2>/dev/null; exit 1; }

. "$(dirname "$0")/virtual_display.sh"
start_virtual_display "$work"

env -u PULSE_SERVER DISPLAY="$display" XDG_RUNTIME_DIR="$work" "$preview" --size 160x90 --at 56 >"$log" 2>&1 &
preview_pid=$!

# The last status line: "T s | row R | bar B.b | section S (row X) | paused|playing | ...".
status() { grep ' | row ' "$log" | tail -1 | sed 's/^velmorand-preview: //'; }
field() { status | awk -F' [|] ' -v n="$1" '{print $n}'; }
row() { field 2 | sed 's/row //'; }
# Waits up to two minutes (start-up on a loaded machine) for a status line
# matching $1 that was printed after line $2 of the log.
wait_for() {
  for _ in $(seq 600); do
    tail -n +"$(($2 + 1))" "$log" | grep ' | row ' | grep -q -- "$1" && return 0
    kill -0 $preview_pid 2>/dev/null || fail "the player exited"
    sleep 0.2
  done
  fail "no status line matching '$1'"
}
lines() { wc -l <"$log"; }
key() { DISPLAY=$display xdotool windowfocus --sync "$win" key "$1" 2>/dev/null || DISPLAY=$display xdotool key "$1"; }

wait_for ' playing ' 0
win=$(DISPLAY=$display xdotool search --name '^Velmorand preview' 2>/dev/null | head -1)
[ -n "$win" ] || fail "no window titled 'Velmorand preview'"

mark=$(lines); key space; wait_for ' paused ' "$mark"
held=$(field 1); held_row=$(row)
sleep 1.5
[ "$(field 1)" = "$held" ] || fail "the clock moved while paused: $held, then $(field 1)"
echo "paused at $held, row $held_row"

mark=$(lines); key Right; wait_for "row $((held_row + 32)) " "$mark"
echo "a bar on: $(status)"
mark=$(lines); key Next; wait_for "row 1152 " "$mark"
echo "next section: $(status)"
status | grep -q ' paused ' || fail "a seek while paused started playing"
# Back a section, on row 896 (56 s): the window holds the intro's frame of that moment.
mark=$(lines); key Prior; wait_for "row 896 " "$mark"
DISPLAY=$display import -window "$win" "$work/window.png" || fail "no screenshot of the window"
colours=$(identify -format '%k' "$work/window.png")
[ "$colours" -gt 16 ] || fail "the window is (nearly) uniform: $colours colours"
"$capture" --size 160x90 --fps 60 --at 56 --out "$work/still.png" >"$work/capture.log" 2>&1 ||
  fail "no still from the capture tool: $(tail -n 3 "$work/capture.log")"
"$compare" "$work/still_056.000.png" "$work/window.png" || fail "the window does not show the intro at 56 s"

# A resize: the renderer is made again at the window's new size, and the
# paused picture is drawn again where it stood.
before=$(status)
mark=$(lines)
DISPLAY=$display xdotool windowsize "$win" 320 180 || fail "xdotool cannot resize the window"
resized_at=$(date +%s.%N)
for _ in $(seq 600); do
  tail -n +"$((mark + 1))" "$log" | grep -q 'drawing at 320x180 for the window' && break
  kill -0 $preview_pid 2>/dev/null || fail "the player exited after the resize"
  sleep 0.1
done
tail -n +"$((mark + 1))" "$log" | grep 'drawing at 320x180 for the window' || fail "the picture was not made again at 320x180"
echo "resized after $(echo "$(date +%s.%N) - $resized_at" | bc) s (the renderer's own time is in the line above)"
size=$(DISPLAY=$display xwininfo -id "$win" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
[ "$size" = 320x180 ] || fail "the window is $size, not 320x180"
wait_for "row $(row) " "$mark"
[ "$(field 1)" = "$(echo "$before" | awk -F' [|] ' '{print $1}')" ] || fail "the resize moved the clock: $before, then $(status)"

mark=$(lines); key space; wait_for ' playing ' "$mark"
sleep 2
[ "$(row)" -gt 896 ] || fail "the clock did not move on after play: $(status)"
echo "playing again: $(status)"

key Escape
for _ in $(seq 300); do kill -0 $preview_pid 2>/dev/null || break; sleep 0.1; done
kill -0 $preview_pid 2>/dev/null && fail "the player did not end on Escape"
wait $preview_pid
code=$?
[ $code -eq 0 ] || fail "exit status $code after Escape"
echo "1 passed, 0 failed"
