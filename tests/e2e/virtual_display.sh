# Sourced by the end-to-end scripts: start_virtual_display WORKDIR [WxH]
# starts Xvfb on a free display number of its own choosing (a guessed one may
# be taken by a test running beside) and sets `display` and `xvfb_pid`.
# -noreset: a server that resets when its last client leaves refuses the
# next one for a moment, and the intro's test starts it three times.
# Calls the script's own `fail` when no display comes up.
start_virtual_display() {
  local work=$1 size=${2:-640x360}
  Xvfb -displayfd 3 -noreset -screen 0 "${size}x24" -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
  display=:$(head -1 "$work/display")
  for _ in $(seq 50); do xdpyinfo -display "$display" >/dev/null 2>&1 && break; sleep 0.1; done
  xdpyinfo -display "$display" >/dev/null 2>&1 || fail "Xvfb did not start"
}
