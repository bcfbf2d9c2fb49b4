# Shared by the Linux end-to-end tests (sourced): a private Xvfb with a known desktop, screenshots and
# clean-up by process id. KOVAREN_NATIVE_BUILD names the build holding kovaren.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
kovaren=${KOVAREN_NATIVE_BUILD:?}/kovaren
# Short folder: X and PulseAudio sockets have a 108-byte path limit.
work=$(mktemp -d /tmp/kvl.XXXXXX)
pids=()
DESKTOP_COLOUR='#3060a0'  # the known desktop: no leaf colour, not dark

cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# Xvfb picks a free display and writes its number on the pipe; -noreset keeps the desktop painted
# with xsetroot after that client disconnects (a reset would blank it before the saver starts).
start_x() {
  local size=${1:-640x480}
  Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 "${size}x24" 3>"$work/display" 2>"$work/xvfb.log" &
  pids+=($!)
  xvfb_pid=$!
  local i
  for i in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.05; done
  export DISPLAY=":$(head -1 "$work/display")"
  xsetroot -solid "$DESKTOP_COLOUR"
}

shot() { import -window root "$1"; }

# Waits until process $1 has ended (up to $2 seconds); fails otherwise.
wait_gone() {
  local pid=$1 limit=${2:-2} i
  for i in $(seq $((limit * 20))); do kill -0 "$pid" 2>/dev/null || return 0; sleep 0.05; done
  fail "process $pid still running after ${limit}s"
}

pixels() { python3 "$here/pixels.py" "$@" || fail "pixels $*"; }

# A plain full-screen test window (xmessage's) standing for a saver's or a preview's window. Sets
# test_window (its id, decimal) and test_window_pid; not for $(...), whose subshell would lose both.
test_window() {
  xmessage -geometry "${1:-640x480+0+0}" -bg "$DESKTOP_COLOUR" -fg "$DESKTOP_COLOUR" " " >/dev/null 2>&1 &
  test_window_pid=$!; pids+=($test_window_pid)
  test_window=$(xdotool search --sync --onlyvisible --class Xmessage | head -1)
}
