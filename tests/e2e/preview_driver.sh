# Sourced by the player's end-to-end scripts, after virtual_display.sh and
# with `work`, `display` and the script's own `fail` defined: starts the
# player, reads its status lines from its log, sends it keys, and waits for
# its end. The waits follow what the player says, not the clock, so a
# loaded machine only makes them longer.
log=$work/preview.log
preview_pid=

# start_preview PLAYER ARG...: no sound server, so it plays on the wall
# clock; returns once its window is there.
start_preview() {
  env -u PULSE_SERVER DISPLAY="$display" XDG_RUNTIME_DIR="$work" "$@" >"$log" 2>&1 &
  preview_pid=$!
  for _ in $(seq 1200); do
    win=$(DISPLAY=$display xdotool search --name '^Velmorand preview' 2>/dev/null | head -1)
    [ -n "$win" ] && return
    kill -0 $preview_pid 2>/dev/null || fail "the player exited before showing its window"
    sleep 0.1
  done
  fail "no window titled 'Velmorand preview'"
}

# The last status line: "T s | row R | bar B.b | section S (row X) | paused|playing | ...".
status() { grep ' | row ' "$log" | tail -1 | sed 's/^velmorand-preview: //'; }
field() { status | awk -F' [|] ' -v n="$1" '{print $n}'; }
row() { field 2 | sed 's/row //'; }
lines() { wc -l <"$log"; }
# wait_for PATTERN LINE: waits up to two minutes for a line of the log after
# line LINE matching the extended regular expression PATTERN.
wait_for() {
  for _ in $(seq 600); do
    tail -n +"$(($2 + 1))" "$log" | grep -q -E -- "$1" && return 0
    kill -0 $preview_pid 2>/dev/null || fail "the player exited"
    sleep 0.2
  done
  fail "no line matching '$1'"
}
# key KEY...: in the player's window, in order, 15 ms apart.
key() {
  DISPLAY=$display xdotool windowfocus --sync "$win" key --delay 15 "$@" 2>/dev/null ||
    DISPLAY=$display xdotool key --delay 15 "$@"
}
# expect_exit WHY: the player ends within 30 s with status 0.
expect_exit() {
  for _ in $(seq 300); do kill -0 $preview_pid 2>/dev/null || break; sleep 0.1; done
  kill -0 $preview_pid 2>/dev/null && fail "the player did not end on $1"
  wait $preview_pid
  local code=$?
  preview_pid=
  [ $code -eq 0 ] || fail "exit status $code after $1"
}
