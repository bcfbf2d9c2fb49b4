#!/usr/bin/env bash
# Full screen, the screens changing under it (an X server whose outputs xrandr adds, turns off and
# resizes): after each change the window is the whole screen again, every monitor shows moving
# leaves, and the program still runs.
source "$(dirname "$0")/harness.sh"
source "$here/../kit/dummy_xorg.sh"
kv_need xrandr xwininfo
[[ -x /usr/lib/xorg/Xorg && -f /usr/lib/xorg/modules/drivers/dummy_drv.so ]] ||
  kv_die "cannot set up: needs Xorg and its dummy driver (scripts/setup installs xserver-xorg-video-dummy)"
MONITOR=1024x768
SMALLER=800x600
CHANGE_LIMIT_S=5

dummy_xorg_start "$work" 2048 768 || kv_die "cannot set up: Xorg did not start ($(tail -3 "$work/xorg.log"))"
kv_track_pid "$DUMMY_XORG_PID"
xrandr --output DUMMY0 --mode $MONITOR --primary --pos 0x0 --output DUMMY1 --off ||
  kv_die "cannot set up: xrandr could not set DUMMY0 alone"
xsetroot -solid "$DESKTOP_COLOUR"

# The monitors as "W H X Y", one a line.
monitors() { xrandr --listmonitors | sed -n 's|^ *[0-9]*: [^ ]* \([0-9]*\)/[0-9]*x\([0-9]*\)/[0-9]*+\([0-9]*\)+\([0-9]*\).*|\1 \2 \3 \4|p'; }
root_size() { xwininfo -root | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }'; }
window_size() { xwininfo -id "$window" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }'; }

# Whether, right now, the window covers the screen and every monitor shows leaves that move.
shows_leaves_everywhere() {
  kill -0 "$pid" 2>/dev/null || kv_die "kovaren ended (after: $1)"
  [[ $(window_size) == "$(root_size)" ]] || return 1
  kv_shot "$work/a.png"; sleep 0.3; kv_shot "$work/b.png"
  local w h x y n=0
  while read -r w h x y; do
    n=$((n + 1))
    convert "$work/a.png" -crop "${w}x${h}+${x}+${y}" +repage "$work/a$n.png"
    convert "$work/b.png" -crop "${w}x${h}+${x}+${y}" +repage "$work/b$n.png"
    kv_pixel_fact has-leaves "$work/b$n.png" >/dev/null &&
      kv_pixel_fact moved "$work/a$n.png" "$work/b$n.png" >/dev/null || return 1
  done < <(monitors)
  ((n > 0))
}

# after CHANGE: waits up to CHANGE_LIMIT_S for the window to follow it.
after() {
  local deadline
  deadline=$(kv_deadline "$CHANGE_LIMIT_S")
  until shows_leaves_everywhere "$1"; do
    kv_before "$deadline" ||
      kv_die "after $1: window $(window_size), screen $(root_size), monitors $(monitors | tr '\n' ';')"
    sleep 0.2
  done
  echo "after $1: window $(window_size) over $(monitors | wc -l) monitor(s)"
}

"$kovaren" --fullscreen --count 100 --seed 7 &
pid=$!; kv_track_pid $pid
window=$(timeout "$SETUP_LIMIT_S" xdotool search --sync --onlyvisible --classname kovaren | head -1) ||
  kv_die "kovaren's window did not show"
[[ $(xwininfo -id "$window" | sed -n 's/.*"\(.*\)"$/\1/p' | head -1) == Kovaren ]] || kv_die "the window is not called Kovaren"
after "the start on one output"
xrandr --addmode DUMMY1 $MONITOR && xrandr --output DUMMY1 --mode $MONITOR --right-of DUMMY0 ||
  kv_die "cannot set up: xrandr could not add DUMMY1"
after "adding a second output"
xrandr --output DUMMY1 --off || kv_die "cannot set up: xrandr could not turn DUMMY1 off"
after "turning the second output off"
xrandr --addmode DUMMY0 $SMALLER && xrandr --output DUMMY0 --mode $SMALLER ||
  kv_die "cannot set up: xrandr could not change DUMMY0's mode"
after "changing the primary's mode"
kill -TERM "$pid"
kv_expect_gone "$pid" 2
echo "screens: passed"
