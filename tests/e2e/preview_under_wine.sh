#!/usr/bin/env bash
# velmorand-preview.exe under Wine, in the display and sound of the session
# that runs the tests (scripts/wine-session), watching an empty folder of key
# lists. Read back from its window title: it plays, Space pauses it and the
# clock stands, Right moves it a bar on. A resize of the window is drawn at
# the new size; a list saved into the folder changes the paused picture;
# Escape ends it with status 0.
#   preview_under_wine.sh <velmorand-preview.exe> [screenshot folder]
set -uo pipefail
exe=$1
work=$(mktemp -d)
shots=${2:-$work}
mkdir -p "$shots" "$work/lists"
log=$work/preview.log
[ -n "${DISPLAY:-}" ] && [ -n "${WINEPREFIX:-}" ] || { echo "FAIL: run me inside scripts/wine-session"; exit 1; }
trap 'kill $preview_pid 2>/dev/null; rm -rf "$work/lists" "$log"' EXIT

fail() { echo "FAIL: $*"; tail -20 "$log"; exit 1; }

# Wine's drive Z: is the root of the Linux file system.
lists="Z:${work//\//\\}\\lists"
WINEDEBUG=err+all wine "$exe" --size 160x90 --at 56 --choreography "$lists" >"$log" 2>&1 &
preview_pid=$!

# The title is "Velmorand preview | T s | row R | bar B.b | section S (row X) | paused|playing | ...".
title() { xdotool getwindowname "$win" 2>/dev/null; }
field() { title | awk -F' [|] ' -v n="$1" '{print $n}'; }
row() { field 3 | sed 's/row //'; }
# Waits up to two minutes (Wine draws on the CPU) for $1 to succeed.
wait_until() {
  for _ in $(seq 600); do
    eval "$1" && return 0
    kill -0 $preview_pid 2>/dev/null || fail "the player exited"
    sleep 0.2
  done
  fail "$2"
}
title_has() { title | grep -q -- "$1"; }
said_since() { tail -n +"$(($1 + 1))" "$log" | grep -q -- "$2"; }
lines() { wc -l <"$log"; }
shot() { import -window "$win" "$shots/$1.png" 2>/dev/null; }
# Keys go to the window with the input focus, which a display without a
# window manager (Xorg's dummy driver) does not hand to a new window.
key() { xdotool windowfocus --sync "$win" key "$1" 2>/dev/null || xdotool key "$1"; }

win=
wait_until 'win=$(xdotool search --name "^Velmorand preview" 2>/dev/null | head -1); [ -n "$win" ]' \
  "no window titled 'Velmorand preview'"
wait_until 'title_has " playing "' "the title never says playing: $(title)"
grep -q "keys of 0 of the 21 tracks" "$log" || fail "the empty folder of lists was not read"
grep "cannot be read" "$log" && fail "a list the folder does not hold is reported"

# Lit and varied, as the intro's picture.
wait_until 'shot playing && [ "$(identify -format %k "$shots/playing.png")" -gt 64 ] &&
  [ "$(identify -format "%[fx:int(255*mean)]" "$shots/playing.png")" -gt 8 ]' "no lit, varied picture"

key space
wait_until 'title_has " paused "' "Space did not pause: $(title)"
held=$(field 2) held_row=$(row)
sleep 1.5
[ "$(field 2)" = "$held" ] || fail "the clock moved while paused: $held, then $(field 2)"
echo "paused at $held, row $held_row"

key Right
wait_until 'title_has "| row $((held_row + 32)) |"' "Right did not move a bar on from row $held_row: $(title)"
title_has " paused " || fail "a move while paused started playing: $(title)"
echo "a bar on: $(title)"

mark=$(lines)
xdotool windowsize "$win" 200 112 || fail "xdotool cannot resize the window"
wait_until 'said_since $mark "drawing at 200x112 for the window"' "the picture was not made again at 200x112"
grep -o 'drawing at 200x112.*' "$log" | tail -1

[ "$(identify -format %wx%h "$shots/playing.png")" = 160x90 ] || fail "the window did not start at 160x90"

# A list saved as editors save it, written beside and moved in, changes the
# picture that stands (once the picture redrawn at the new size has settled).
same() { [ "$(compare -metric AE "$shots/$1.png" "$shots/$2.png" null: 2>&1)" = 0 ]; }
wait_until 'shot before && sleep 1 && shot settled && same before settled' "the picture never settled"
[ "$(identify -format %wx%h "$shots/before.png")" = 200x112 ] || fail "the window is not 200x112"
mark=$(lines)
printf '0: 1.25 (0)\n' >"$work/lists/.camera.fov.keys.new"
mv "$work/lists/.camera.fov.keys.new" "$work/lists/camera.fov.keys"
wait_until 'said_since $mark "camera.fov.keys: 1 key swapped in"' "the saved list was not swapped in"
wait_until 'said_since $mark "the save is on screen"' "the saved list was not drawn"
sleep 1  # the frame presented, then on the display
shot after
changed=$(compare -metric AE -fuzz 2% "$shots/before.png" "$shots/after.png" null: 2>&1)
pixels=$(identify -format '%[fx:w*h]' "$shots/after.png")
echo "the saved list changed $changed of $pixels pixels"
[ "${changed%.*}" -gt $((pixels / 20)) ] || fail "the picture hardly changed after the save: $changed of $pixels pixels"

key Escape
for _ in $(seq 300); do kill -0 $preview_pid 2>/dev/null || break; sleep 0.1; done
kill -0 $preview_pid 2>/dev/null && fail "the player did not end on Escape"
wait $preview_pid
status=$?
[ $status -eq 0 ] || fail "exit status $status after Escape"
grep -q -i "wall clock" "$log" && echo "note: no winmm device; the player ran on the wall clock"
grep -m1 "DXVK: [0-9]" "$log"
echo "1 passed, 0 failed"
