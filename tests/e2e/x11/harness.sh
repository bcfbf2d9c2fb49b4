# What the X11 program's end-to-end tests add to the shared kit (sourced): kovaren's path, a private
# Xvfb painted in a known desktop colour, a bare test window, and the clean-up. KOVAREN_NATIVE_BUILD
# names the build holding kovaren.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../kit/kit.sh"
kovaren=${KOVAREN_NATIVE_BUILD:?}/kovaren
# Short folder, never under the build: X and PulseAudio sockets have a 108-byte path limit.
work=$(mktemp -d "${TMPDIR:-/tmp}/kvl.XXXXXX")
KV_PID_FILE=$work/pids
KV_SCRATCH=("$work")
DESKTOP_COLOUR='#3060a0'  # the known desktop: no leaf colour, not dark

cleanup() {
  kv_stop_tracked
  rm -rf "$work"
}
trap cleanup EXIT
kv_start_watchdog

kv_need Xvfb xsetroot import convert xdotool python3
[[ -x $kovaren ]] || kv_die "cannot set up: no $kovaren (build the target kovaren)"

# The waits are generous and bounded: a busy machine is slow, a broken one must not hang the run.
SETUP_LIMIT_S=20

# start_x [WxH] : a private Xvfb (640x480 by default) showing the desktop colour on its root.
start_x() {
  KV_X_START_LIMIT_S=$SETUP_LIMIT_S kv_start_xvfb "${1:-640x480}" "$work"
  xsetroot -solid "$DESKTOP_COLOUR"
}

# test_window [GEOMETRY [STRIPE_COLOUR]]: a bare test window (full-screen by default) standing for a
# saver's or a preview's window, plain in the desktop colour or striped with a second colour. Sets
# test_window (its id, decimal) and test_window_pid; not for $(...), whose subshell would lose both.
test_window() {
  local ids=$work/test_window.$RANDOM
  mkfifo "$ids"
  python3 "$here/test_window.py" "${1:-640x480+0+0}" "$DESKTOP_COLOUR" ${2:+"$2"} >"$ids" &
  test_window_pid=$!
  kv_track_pid "$test_window_pid"
  read -r -t "$SETUP_LIMIT_S" test_window <"$ids" || kv_die "cannot set up: no test window"
  rm -f "$ids"
}

# start_sound_server : a private PulseAudio with a null sink as the default, its own HOME and
# runtime folder; sets pulse_pid. Sound tests record the sink's monitor.
start_sound_server() {
  export HOME=$work/home XDG_RUNTIME_DIR=$work/xdg
  mkdir -p "$HOME" && mkdir -p -m 700 "$XDG_RUNTIME_DIR"
  export PULSE_SERVER=unix:$XDG_RUNTIME_DIR/pulse/native
  kv_start_pulse "$work/pulse.log"
  pulse_pid=$KV_PULSE_PID
  kv_wait_pulse "$work/pulse.log" "$SETUP_LIMIT_S"
  pactl set-default-sink nullsink
}

# make_tone FILE.mp3|FILE.wav SECONDS : a 440 Hz tone.
make_tone() {
  sox -n -r 44100 -c 2 "$1.wav" synth "$2" sine 440 vol 0.5 2>/dev/null || kv_die "cannot set up: sox"
  case $1 in
    *.mp3) lame --quiet "$1.wav" "$1" || kv_die "cannot set up: lame"; rm -f "$1.wav" ;;
    *) mv "$1.wav" "$1" ;;
  esac
}
