#!/usr/bin/env bash
# The intro with one of its programs damaged in a copy of the executable
# (the program's first four bytes, the container's or the module's magic,
# overwritten): the device refuses it. The intro must name the program and
# the device's reason in an error box and on stderr, and end with status 4
# once the box is dismissed, instead of playing on over a black screen.
# velmorand.exe runs in the Wine session of the tests (scripts/wine-session);
# the Linux intro on a virtual display of its own, with lavapipe.
#   program_refused.sh <intro> <a program file the intro embeds>
set -uo pipefail
intro=$1 program=$2
name=$(basename "${program%.*}")
work=$(mktemp -d)
intro_pid= xvfb_pid=
trap '[ -n "$intro_pid" ] && kill $intro_pid 2>/dev/null; [ -n "$xvfb_pid" ] && kill $xvfb_pid 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; tail -20 "$work/intro.log" 2>/dev/null; exit 1; }

copy=$work/$(basename "$intro")
/usr/bin/python3 - "$intro" "$program" "$copy" <<'PY' || fail "cannot make the damaged copy"
import sys
exe = open(sys.argv[1], "rb").read()
program = open(sys.argv[2], "rb").read()
at = exe.find(program)
if at < 0 or exe.find(program, at + 1) >= 0:
    sys.exit("the program is not embedded exactly once")
open(sys.argv[3], "wb").write(exe[:at] + b"\xff" * 4 + exe[at + 4:])
PY
chmod +x "$copy"
# DLLs placed beside the exe (another Direct3D 11, say) go beside the copy.
for dll in "$(dirname "$intro")"/*.dll; do [ -e "$dll" ] && ln -s "$(realpath "$dll")" "$work/"; done

case $intro in
  *.exe)
    [ -n "${DISPLAY:-}" ] && [ -n "${WINEPREFIX:-}" ] || fail "run me inside scripts/wine-session"
    run=(wine "$copy") ;;
  *)
    . "$(dirname "$0")/virtual_display.sh"
    start_virtual_display "$work" 320x180
    export DISPLAY=$display
    run=(env -u PULSE_SERVER XDG_RUNTIME_DIR="$work" "$copy") ;;
esac
"${run[@]}" >"$work/intro.log" 2>&1 &
intro_pid=$!

box=
for _ in $(seq 600); do
  # xdotool's search misses SDL's box (made by a child process); the tree has it.
  box=$(xwininfo -root -tree 2>/dev/null | awk '/"Velmorand cannot start"/ { print $1; exit }')
  [ -n "$box" ] && break
  kill -0 $intro_pid 2>/dev/null || fail "the intro ended without an error box"
  sleep 0.1
done
[ -n "$box" ] || fail "no error box within a minute"
grep -q "cannot create program $name" "$work/intro.log" || fail "the message does not name $name"
case $intro in *.exe) grep -q "$name (HRESULT 0x8" "$work/intro.log" || fail "the message has no HRESULT" ;; esac
grep "Velmorand cannot start" "$work/intro.log"
grep -m1 "DXVK: v\?[0-9]" "$work/intro.log"  # which Direct3D 11 ran, where DXVK did

# The box waits for the viewer; Return is its OK.
for _ in $(seq 100); do
  kill -0 $intro_pid 2>/dev/null || break
  xdotool windowfocus "$box" key Return 2>/dev/null || xdotool key Return
  sleep 0.3
done
kill -0 $intro_pid 2>/dev/null && fail "the intro did not end after the box was dismissed"
wait $intro_pid
status=$?
intro_pid=
[ $status -eq 4 ] || fail "exit status $status, not 4"
echo "1 passed, 0 failed"
