# An X server whose outputs xrandr can add, move, resize and turn off: Xorg with the dummy driver
# (outputs DUMMY0, DUMMY1, ...), which Xvfb cannot offer. Sourced by both suites.
#
#   dummy_xorg_start DIR MAX_W MAX_H   # config, log and display pipe in DIR; the screen can grow to MAX
#
# Sets DUMMY_XORG_PID (the caller ends it) and exports DISPLAY; returns 1 when the server did not start
# within 15 s (its log is DIR/xorg.log).
dummy_xorg_start() {
  local dir=$1 max_w=$2 max_h=$3 number
  cat >"$dir/xorg.conf" <<CONF
Section "ServerFlags"
  Option "AutoAddDevices" "false"
EndSection
Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 65536
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0-1000.0
  VertRefresh 5.0-200.0
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Virtual $max_w $max_h
  EndSubSection
EndSection
CONF
  mkfifo "$dir/xorg.displayfd"
  # -noreset: a desktop painted by a client that left stays; the log goes to DIR, not /var/log.
  /usr/lib/xorg/Xorg -displayfd 3 -config "$dir/xorg.conf" -logfile "$dir/xorg.log" -noreset -nolisten tcp \
    3>"$dir/xorg.displayfd" >"$dir/xorg.out" 2>&1 &
  DUMMY_XORG_PID=$!
  read -r -t 15 number <"$dir/xorg.displayfd" || return 1
  export DISPLAY=:$number
}
