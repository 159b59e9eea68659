#!/usr/bin/env bash
# velmorand-bench --realtime on a virtual display that reports a refresh rate
# (Xorg's dummy driver, 160x90 at cvt's 52 Hz), with lavapipe and no sound
# server: its JSON holds the intervals between presents, the refreshes missed
# at the rate xrandr reports and the GPU time per section, and says the
# figures are a software stand-in's. Three seconds from 30 s: every frame on
# lavapipe misses refreshes, so a short run already shows what the counts do.
#   realtime_bench_on_display.sh <velmorand-bench> <scripts/lib/dummy-display.sh>
set -uo pipefail
bench=$1
work=$(mktemp -d)
dummy_display_pid=
trap '[ -n "$dummy_display_pid" ] && kill $dummy_display_pid 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

. "$2"
start_dummy_display "$work" 160x90 || fail "no dummy display"
refresh=$(display_refresh_rate)
out=$(env -u PULSE_SERVER XDG_RUNTIME_DIR="$work" "$bench" --realtime 3 --at 30 --json 2>"$work/err") ||
  { cat "$work/err"; fail "velmorand-bench --realtime failed"; }
echo "$out" | python3 "$(dirname "$0")/realtime_report_check.py" 3 "$refresh" || exit 1
echo "1 passed, 0 failed"
