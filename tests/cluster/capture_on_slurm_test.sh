#!/usr/bin/env bash
# scripts/capture-on-slurm on a real Slurm of one node, started here under a
# temporary folder and stopped again, also when a check fails:
#   - three parts of 1.5 s (160x90, 30 fps, lossless), one cut where only the
#     sun shafts carry over, one inside the logo particles; part 1 is killed
#     on its first run, so the join must not run and the part is named;
#   - the rerun renders only part 1, and the joined video decodes to exactly
#     the frames and sound of the same range captured in one process;
#   - --join refuses a doubled and a missing part;
#   - a record cut short, edited or missing a field makes its part
#     incomplete, and the rerun renders that part alone.
#
#   capture_on_slurm_test.sh VELMORAND_CAPTURE CAPTURE_ON_SLURM
set -uo pipefail
capture=$1 script=$2
here=$(cd "$(dirname "$0")" && pwd)
source "$here/slurm_node.sh"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# One private Slurm on the machine at a time: test runs of other build
# folders wait here rather than fail on the ports.
lock=/tmp/velmorand-single-node-slurm.lock
[ -e "$lock" ] || (umask 0 && : >"$lock")
exec 9<"$lock" && flock -w 600 9 || fail "another single-node Slurm test held $lock for 10 minutes"

work=$(mktemp -d /tmp/velmorand-slurm-XXXXXX) && chmod 755 "$work" || fail "no temporary folder"
trap 'slurm_node_stop "$work/slurm"; rm -rf "$work"' EXIT
trap 'exit 1' INT TERM
slurm_node_start "$work/slurm" || fail "Slurm cannot start on this machine (the reason is above)"

cap=$work/cap
range=(--size 160x90 --fps 30 --from 127.3 --to 128.8 --crf 0)
# Part 1's first run is killed once it renders, as a failing node would end it.
cat >"$work/capture" <<EOF
#!/bin/bash
if [[ " \$* " == *" --part 1/3 "* && " \$* " != *" --check "* && ! -e $work/killed ]]; then
  touch $work/killed
  "$capture" "\$@" &
  for _ in \$(seq 600); do
    ls $cap/parts/.velmorand-capture-* >/dev/null 2>&1 && break
    sleep 0.1
  done
  kill -KILL \$!
  exit 137
fi
exec "$capture" "\$@"
EOF
chmod +x "$work/capture"
submit() { "$script" --dir "$cap" --parts 3 --wait --capture "$work/capture" "${range[@]}" 2>&1; }

# First run: part 1 dies, the join never runs.
output=$(submit) && fail "a killed part was reported as success: $output"
[[ $output == *"failed parts: 1 "* ]] || fail "the failed part is not named: $output"
[ ! -e "$cap/logs/join.log" ] && [ ! -e "$cap/velmorand.mp4" ] || fail "the join ran after a part failed"

# The rerun renders part 1 alone and joins.
before=$(md5sum "$cap"/parts/part_{0,2}.mp4*)
output=$(submit) || fail "the rerun failed: $output"
[[ $output == *"parts 1 of 0 to 2:"* ]] || fail "the rerun did not submit part 1 alone: $output"
[ "$(md5sum "$cap"/parts/part_{0,2}.mp4*)" = "$before" ] || fail "the rerun touched complete parts"

# The cuts: one part replays only the last sun-shaft frame, a later one
# also replays logo-particle frames since the field was seeded.
records=$(cat "$cap"/parts/part_{1,2}.mp4.part.json)
[[ $records == *'"priming_frames":1,'* ]] || fail "no cut where only the sun shafts carry over: $records"
[[ $records =~ \"priming_frames\":([3-9]|[1-9][0-9]), ]] || fail "no cut inside the logo particles: $records"

# Frame for frame and sample for sample the capture of one process.
"$capture" "${range[@]}" --out "$work/whole.mp4" >"$work/whole.log" 2>&1 ||
  fail "the one-process capture failed: $(tail -n 3 "$work/whole.log")"
for stream in v a; do
  ffmpeg -v error -i "$cap/velmorand.mp4" -map 0:$stream -f framemd5 "$work/joined.$stream.md5" &&
    ffmpeg -v error -i "$work/whole.mp4" -map 0:$stream -f framemd5 "$work/whole.$stream.md5" ||
    fail "cannot decode the videos"
  cmp -s "$work/joined.$stream.md5" "$work/whole.$stream.md5" ||
    fail "the joined $stream stream differs from the one-process capture: $(diff "$work/joined.$stream.md5" "$work/whole.$stream.md5" | head -n 4)"
done
[ "$(grep -c '^0,' "$work/joined.v.md5")" = 45 ] || fail "the joined video does not hold 45 frames"

# Parts that do not make the whole range are refused, by name.
parts=("$cap"/parts/part_{0,1,2}.mp4)
output=$("$capture" --join "${parts[0]}" "${parts[0]}" "${parts[2]}" --out "$work/bad.mp4" 2>&1)
[ $? = 2 ] && [[ $output == *"part 0/3 is given twice"* && $output == *"part 1/3 is missing"* ]] ||
  fail "a doubled and a missing part were not refused clearly: $output"
output=$("$capture" --join "${parts[0]}" "${parts[1]}" --out "$work/bad.mp4" 2>&1)
[ $? = 2 ] && [[ $output == *"part 2/3 is missing (frames "* ]] || fail "a missing last part was not refused: $output"
[ ! -e "$work/bad.mp4" ] || fail "a refused join wrote its output"
# A record cut short, with a number changed or a field missing leaves its
# part incomplete, and the rerun renders that part alone again.
record=$cap/parts/part_2.mp4.part.json
cp "$record" "$work/record"
cut_short() { head -c 120 "$work/record"; }
number_changed() { sed 's/"first_frame":\([0-9]*\)/"first_frame":1\1/' "$work/record"; }
field_missing() { sed 's/"fps":30,//' "$work/record"; }
for edit in cut_short field_missing number_changed; do
  $edit >"$record"
  cmp -s "$record" "$work/record" && fail "$edit did not change the record"
  output=$(cd "$cap" && "$capture" --part 2/3 --check "${range[@]}" --out "$cap/parts/part_2.mp4" 2>&1)
  [ $? = 5 ] && [[ $output == *"part 2/3 (frames "*") is not complete: "* ]] ||
    fail "a part whose record is $edit is not reported incomplete: $output"
done
before=$(md5sum "$cap"/parts/part_{0,1}.mp4*)
output=$(submit) || fail "the rerun after an edited record failed: $output"
[[ $output == *"parts 2 of 0 to 2:"* ]] || fail "the rerun did not render part 2 alone: $output"
[ "$(md5sum "$cap"/parts/part_{0,1}.mp4*)" = "$before" ] || fail "the rerun touched complete parts"
ffmpeg -v error -i "$cap/velmorand.mp4" -f framemd5 - | grep -v '^#' >"$work/rejoined.md5"
ffmpeg -v error -i "$work/whole.mp4" -f framemd5 - | grep -v '^#' >"$work/whole.md5"
cmp -s "$work/rejoined.md5" "$work/whole.md5" || fail "the video joined after the rerun differs from the one-process capture"
echo "capture on a single-node Slurm: all checks passed"
