#!/usr/bin/env bash
# The author's player looping one bar of an early section twenty times, with
# its choreography live from text files and one of them saved again every
# five loops: its resident memory after the last loop must be within 5 % of
# what it was after the first, it must still be in its loop, and Escape must
# still end it with status 0.
#   preview_loop_soak.sh <velmorand-preview> <velmorand-tracks>
set -uo pipefail
preview=$1 tracks=$2
work=$(mktemp -d)
trap 'kill $xvfb_pid 2>/dev/null; [ -n "$preview_pid" ] && kill $preview_pid 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; tail -20 "$work/preview.log" 2>/dev/null; exit 1; }

. "$(dirname "$0")/virtual_display.sh"
. "$(dirname "$0")/preview_driver.sh"
start_virtual_display "$work"
"$tracks" --export-text "$work/lists" >/dev/null || fail "the lists could not be exported"

# glibc keeps freed memory for later, and raises its threshold for giving
# large blocks back as the player frees them, so hundreds of MB freed at
# start-up would hide any growth; fixed thresholds give it back.
MALLOC_MMAP_THRESHOLD_=131072 MALLOC_TRIM_THRESHOLD_=131072 \
  start_preview "$preview" --size 160x90 --at 24 --choreography "$work/lists"
wait_for ' playing ' 0
mark=$(lines); key space; wait_for ' paused ' "$mark"
# The loop: one bar from the row the player stands at.
mark=$(lines); key bracketleft Right bracketright Left l space
wait_for 'looping rows' "$mark"
wait_for ' playing ' "$mark"
start=$(grep -o 'looping rows [0-9]*' "$log" | tail -1 | awk '{print $3}')
echo "looping rows $start to $((start + 32))"
loop_mark=$(lines)

# Loops ended so far: the times the status row went back.
loops() {
  tail -n +"$((loop_mark + 1))" "$log" | grep ' | row ' | sed 's/.* | row \([0-9]*\) .*/\1/' |
    awk 'NR > 1 && $1 < last { n++ } { last = $1 } END { print n + 0 }'
}
# Resident memory of the player's own (heap, GPU memory on lavapipe): the
# pages of its executable and libraries come and go with the page cache.
rss_kib() { awk '/^Rss(Anon|Shmem):/ { n += $2 } END { print n }' "/proc/$preview_pid/status"; }
wait_loops() {
  for _ in $(seq 600); do
    [ "$(loops)" -ge "$1" ] && return
    kill -0 $preview_pid 2>/dev/null || fail "the player exited"
    sleep 0.2
  done
  fail "loop $1 did not end: $(status)"
}
# The field of view is saved with another value; the player says when the
# save is on screen.
edit() {
  local mark
  mark=$(lines)
  printf '0: %s (0); 1919: 4 (2)\n' "$1" >"$work/lists/camera.fov.keys"
  wait_for 'the save is on screen' "$mark"
}

wait_loops 1
first=$(rss_kib)
echo "resident memory after loop 1: $first KiB"
for n in 5 10 15 20; do
  wait_loops "$n"
  last=$(rss_kib)
  echo "after loop $n: $last KiB"
  [ $n -lt 20 ] && edit "2.$n"
done
awk -v a="$first" -v b="$last" 'BEGIN { d = b - a; if (d < 0) d = -d; exit !(d * 20 <= a) }' ||
  fail "resident memory moved by more than 5 %"
row=$(row)
[ "$row" -ge "$start" ] && [ "$row" -lt $((start + 32)) ] || fail "the player left its loop: $(status)"

key Escape
expect_exit Escape
echo "1 passed, 0 failed"
