# Sourced where a program needs a virtual display that reports a refresh
# rate, as every real one does: Xvfb's only mode reads 0 Hz, and a presenter
# that paces by the rate divides by it. Xorg's dummy driver with one mode of
# the asked size at about 60 Hz (cvt's timings) added through RandR stands
# in. The driver starts in a mode of its own list, so the screen it is made
# with holds at least 1280x720; switching to the added mode shrinks it.
#
#   start_dummy_display WORKDIR WxH    sets DISPLAY and dummy_display_pid
#
# Returns non-zero, after saying why, when no display comes up. The server
# shares the console's terminal and never switches it (-sharevts
# -novtswitch -keeptty), so running it as root leaves the machine's
# consoles alone; it takes no input devices, xdotool's keys arrive through
# XTEST.

start_dummy_display() {
  local work=$1 size=$2 width height modeline output
  width=${size%x*} height=${size#*x}
  cat > "$work/xorg.conf" <<CONF
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "AutoEnableDevices" "false"
  Option "DontVTSwitch" "true"
EndSection
Section "Device"
  Identifier "card"
  Driver "dummy"
  VideoRam 262144
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 1.0-2000.0
  VertRefresh 1.0-200.0
EndSection
Section "Screen"
  Identifier "screen"
  Device "card"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Virtual $((width > 1280 ? width : 1280)) $((height > 720 ? height : 720))
  EndSubSection
EndSection
CONF
  Xorg -config "$work/xorg.conf" -logfile "$work/xorg.log" -displayfd 3 -nolisten tcp -noreset \
    -sharevts -novtswitch -keeptty 3>"$work/display" >"$work/xorg.out" 2>&1 &
  dummy_display_pid=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  if [ ! -s "$work/display" ]; then
    echo "no dummy Xorg display came up:" >&2
    tail -5 "$work/xorg.out" >&2
    return 1
  fi
  export DISPLAY=:$(head -1 "$work/display")
  modeline=$(cvt "$width" "$height" 60 | awk '/^Modeline/ { $1 = ""; $2 = ""; print }')
  output=$(xrandr | awk '/ connected/ { print $1; exit }')
  # shellcheck disable=SC2086  # the modeline's numbers are separate words
  xrandr --newmode "virtual$size" $modeline &&
    xrandr --addmode "$output" "virtual$size" &&
    xrandr --output "$output" --mode "virtual$size" ||
    { echo "the dummy display did not take a $size mode" >&2; return 1; }
}

# The refresh rate of the display's current mode, in Hz, as xrandr reports it.
display_refresh_rate() {
  xrandr | awk '/\*/ { for (i = 2; i <= NF; i++) if ($i ~ /\*/) { sub(/[*+]+/, "", $i); print $i; exit } }'
}
