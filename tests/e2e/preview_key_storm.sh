#!/usr/bin/env bash
# The author's player under 200 random transport keys in about three
# seconds (moves, sections, pause, loop marks), then: it answers a pause,
# shows the time the next moves must give, and draws the picture the capture
# tool draws there. Then a move deep into the particle section: the window
# goes on answering while that replay runs (its title counts the frames), a
# move cuts it short, and Escape ends the player with status 0 before it is
# done. SOAK_SEED repeats a run's keys.
#   preview_key_storm.sh <velmorand-preview> <velmorand-capture>
set -uo pipefail
preview=$1 capture=$2
work=$(mktemp -d)
trap 'kill $xvfb_pid 2>/dev/null; [ -n "$preview_pid" ] && kill $preview_pid 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $* (keys from seed $seed)"; tail -20 "$work/preview.log" 2>/dev/null; exit 1; }
seed=${SOAK_SEED:-$RANDOM}
RANDOM=$seed

. "$(dirname "$0")/virtual_display.sh"
. "$(dirname "$0")/preview_driver.sh"
start_virtual_display "$work"
start_preview "$preview" --size 160x90 --at 24
wait_for ' playing ' 0

# The keys. `bound` is a row the player cannot have passed, counting 20 s of
# playing on top: moves that could reach the end (where the player pauses by
# itself) are turned back, so the play state after the keys is known.
sections=(0 127 384 640 896 1152 1279 1406 1664 1920 2046 2176)
choices=(Left Right shift+Left shift+Right Prior Next Home space bracketleft bracketright l)
bound=384 spaces=0 starts=1 storm=()
for _ in $(seq 199); do
  k=${choices[RANDOM % ${#choices[@]}]}
  case $k in
    Next)
      for s in "${sections[@]}"; do [ "$s" -gt "$bound" ] && break; done
      if [ $((s + 320)) -lt 2176 ]; then bound=$s; else k=Prior; fi ;;
    Right | shift+Right)
      step=$([ $k = Right ] && echo 32 || echo 8)
      if [ $((bound + step + 320)) -lt 2176 ]; then bound=$((bound + step)); else k=Left; fi ;;
    space) spaces=$((spaces + 1)) ;;
    bracketleft) starts=$((starts + 1)) ;;
  esac
  storm+=("$k")
done
# The last key marks a loop start too: once every [ has been answered, every
# key before it has been handled.
mark=$(lines)
key "${storm[@]}" bracketleft
for _ in $(seq 600); do
  [ "$(tail -n +"$((mark + 1))" "$log" | grep -c 'loop start at')" -ge $starts ] && break
  kill -0 $preview_pid 2>/dev/null || fail "the player exited during the keys"
  sleep 0.2
done
[ "$(tail -n +"$((mark + 1))" "$log" | grep -c 'loop start at')" -ge $starts ] ||
  fail "not every key was answered"
echo "200 keys answered (seed $seed, $spaces pauses)"

# A pause, answered.
mark=$(lines)
if [ $((spaces % 2)) -eq 1 ]; then key space; wait_for ' playing ' "$mark"; mark=$(lines); fi
key space
wait_for ' \| paused( \||$)' "$mark"
held=$(field 1) held_row=$(row)
echo "paused at $held, row $held_row"

# The times moves from there give.
mark=$(lines); key Right
expect=$(awk -v t="${held% s}" 'BEGIN { printf "%.3f s", t + 2 }')
wait_for "^velmorand-preview: $expect \| row $((held_row + 32)) \|.* paused" "$mark"
mark=$(lines); key Home
wait_for '^velmorand-preview: 0\.000 s \| row 0 \|.* paused' "$mark"
mark=$(lines); key Next
wait_for 'row 127 \| bar 3\.4 \| section 2 \(row 127\) \| paused' "$mark"
# Five bars from 0 are exactly 10 s, a time the capture is given exactly.
mark=$(lines); key Home Right Right Right Right Right
wait_for '^velmorand-preview: 10\.000 s \| row 160 \|.* paused' "$mark"
"$capture" --size 160x90 --at 10 --out "$work/still.png" >"$work/capture.log" 2>&1 ||
  fail "the capture failed: $(tail -3 "$work/capture.log")"
DISPLAY=$display import -window "$win" "$work/shown.png" || fail "no screenshot of the player"
differing=$(compare -metric AE -fuzz 2% "$work/shown.png" "$work/still_010.000.png" null: 2>&1)
echo "at 10 s: $differing of 14400 pixels differ from the capture's still"
[ "${differing%%.*}" -le 144 ] 2>/dev/null || fail "the picture is not the capture's at 10 s: $differing pixels differ"

# Deep into the particle section; the title counts the replayed frames.
title() { DISPLAY=$display xdotool getwindowname "$win"; }
replaying() { title | sed -n "s/.*row $1 .*replaying \([0-9]*\) of \([0-9]*\) frames.*/\1 \2/p"; }
wait_title() {
  for _ in $(seq 600); do
    [ -n "$(replaying "$1")" ] && return
    kill -0 $preview_pid 2>/dev/null || fail "the player exited"
    sleep 0.1
  done
  fail "the title never showed a replay at row $1: $(title)"
}
# Ten sections on is the end, the longest replay there is.
key Next Next Next Next Next Next Next Next Next Next
wait_title 2176
read -r done total <<<"$(replaying 2176)"
echo "title: $(title)"
for _ in $(seq 600); do
  read -r now _ <<<"$(replaying 2176)"
  [ "${now:-0}" -gt "$done" ] && break
  sleep 0.1
done
[ "${now:-0}" -gt "$done" ] || fail "the replay's count stood at $done of $total: $(title)"
key Left
wait_title 2144
echo "title: $(title)"
key Escape
expect_exit "Escape during a replay"
status | grep -q 'replaying' || fail "the replay was done before Escape ended the player: $(status)"
echo "1 passed, 0 failed"
