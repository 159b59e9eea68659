#!/usr/bin/env bash
# The join of a capture's parts when its folder runs out of space, and two
# joins of the same parts at once. Two small parts (64x36, 15 fps, 1 s) are
# rendered here, no scheduler needed.
#   - On a tmpfs too small for the join's work files the join fails with
#     status 4, names the video it could not write, leaves neither that video
#     nor a work file behind; once space is freed the same join succeeds.
#   - Two joins at once: each either succeeds or fails with a message, at
#     least one succeeds, and the video is the one a single join makes.
# The full-disk case mounts a tmpfs: without root (or where mounting is
# refused) it is skipped with status 77.
#
#   join_faults_test.sh VELMORAND_CAPTURE
set -uo pipefail
capture=$1

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

work=$(mktemp -d /tmp/velmorand-join-XXXXXX) || fail "no temporary folder"
trap 'umount "$work/small" 2>/dev/null; rm -rf "$work"' EXIT
for k in 0 1; do
  "$capture" --size 64x36 --fps 15 --from 10 --to 11 --crf 0 --part "$k/2" --out "$work/part_$k.mp4" \
    >"$work/part.log" 2>&1 || fail "part $k was not rendered: $(tail -n 3 "$work/part.log")"
done
join() { "$capture" --join "$work/part_0.mp4" "$work/part_1.mp4" --out "$1" 2>&1; }
fingerprint() { ffmpeg -v error -i "$1" -f framemd5 - | grep -v '^#'; }

output=$(join "$work/alone.mp4") || fail "the join failed: $output"
expected=$(fingerprint "$work/alone.mp4")
[ "$(grep -c '^0,' <<<"$expected")" = 15 ] || fail "the join does not hold 15 frames"

# Two at once, into the same name.
join "$work/both.mp4" >"$work/first.log" &
first=$!
join "$work/both.mp4" >"$work/second.log" &
second=$!
wait $first && a=0 || a=$?
wait $second && b=0 || b=$?
[ $a = 0 ] || [ $b = 0 ] || fail "neither of two joins at once succeeded: $(cat "$work"/first.log "$work"/second.log)"
for pair in "$a first" "$b second"; do
  set -- $pair
  [ "$1" = 0 ] || [ -s "$work/$2.log" ] || fail "the $2 join failed without a message"
done
[ "$(fingerprint "$work/both.mp4")" = "$expected" ] || fail "two joins at once left another video"
ls -a "$work" | grep -q '^\.velmorand-join-' && fail "two joins at once left work files: $(ls -a "$work")"

# A folder that fills up.
[ "$(id -u)" = 0 ] && mkdir "$work/small" && mount -t tmpfs -o size=1m tmpfs "$work/small" 2>/dev/null || {
  echo "SKIP: the full-folder join needs root and a tmpfs mount"
  exit 77
}
# The sound of the range alone takes 345 KB: 8 KB free fails on the sound,
# 380 KB on the video.
for free in 8 380; do
  available=$(df -k --output=avail "$work/small" | tail -n 1)
  head -c $(((available - free) * 1024)) /dev/zero >"$work/small/filler" 2>/dev/null
  output=$(join "$work/small/joined.mp4")
  status=$?
  [ $status = 4 ] || fail "a join into a full folder ($free KB free) ended with status $status: $output"
  [[ $output == *"cannot write $work/small/joined.mp4: "* ]] ||
    fail "a join into a full folder does not name its video: $output"
  leftovers=$(ls -A "$work/small" | grep -v '^filler$')
  [ -z "$leftovers" ] || fail "a join into a full folder left $leftovers"
  rm "$work/small/filler"
done
output=$(join "$work/small/joined.mp4") || fail "the join failed once space was freed: $output"
[ "$(fingerprint "$work/small/joined.mp4")" = "$expected" ] || fail "the join after freeing space differs"
echo "join faults: all checks passed"
