#!/usr/bin/env bash
# The tools of the Windows build under Wine: velmorand-bench.exe runs and says
# that its times measure Wine's translation, not Windows; for three seconds
# in real time it reports the intervals between presents, the refreshes
# missed at the rate Wine reports for the display and the GPU time per
# section; velmorand-capture.exe refuses video output without ffmpeg.exe on
# PATH, with a message and status 4, before any start-up.
#   tools_under_wine.sh <velmorand-bench.exe> <velmorand-capture.exe> <realtime_report_check.py>
set -uo pipefail
bench=$1 capture=$2 check=$3
fail() { echo "FAIL: $*"; exit 1; }
[ -n "${WINEPREFIX:-}" ] || fail "run me inside scripts/wine-session"

out=$(WINEDEBUG=err+all wine "$bench" --size 64x36 --at 30 --frames 1 --warmup 0 2>&1) ||
  { echo "$out"; fail "velmorand-bench.exe failed"; }
echo "$out" | grep -q "SceneKernel" || { echo "$out"; fail "no pass times"; }
echo "$out" | grep -q "^NOTE: under Wine .*not Windows performance" || { echo "$out"; fail "the times are not labelled as Wine's"; }

# What X reports, Wine passes on: Xvfb's 0 Hz as no rate at all.
refresh=$(xrandr | awk '/\*/ { for (i = 2; i <= NF; i++) if ($i ~ /\*/) { sub(/[*+]+/, "", $i); print $i + 0; exit } }')
log=$(mktemp)
out=$(WINEDEBUG=err+all wine "$bench" --realtime 3 --at 30 --json 2>"$log") ||
  { cat "$log"; rm -f "$log"; fail "velmorand-bench.exe --realtime failed"; }
grep -m1 "DXVK: [0-9]" "$log"
rm -f "$log"
echo "$out" | python3 "$check" 3 "${refresh:-0}" || fail "the real-time report"

out=$(WINEDEBUG=err+all wine "$capture" --size 64x36 --out "$(mktemp -d)/v.mp4" 2>&1)
status=$?
[ $status -eq 4 ] || { echo "$out"; fail "video output without ffmpeg.exe: status $status, not 4"; }
echo "$out" | grep -q "ffmpeg.exe is not on PATH" || { echo "$out"; fail "no message about ffmpeg.exe"; }
echo "3 passed, 0 failed"
