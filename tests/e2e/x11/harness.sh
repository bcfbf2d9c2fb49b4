# Shared by the Linux end-to-end tests (sourced): a private Xvfb with a known desktop, screenshots and
# clean-up by process id. KOVAREN_NATIVE_BUILD names the build holding kovaren.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
kovaren=${KOVAREN_NATIVE_BUILD:?}/kovaren
# Short folder, never under the build: X and PulseAudio sockets have a 108-byte path limit.
work=$(mktemp -d "${TMPDIR:-/tmp}/kvl.XXXXXX")
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

# need COMMAND... : a test that cannot set up says so in one line.
need() {
  local command
  for command in "$@"; do
    command -v "$command" >/dev/null || fail "cannot set up: $command is missing (scripts/setup installs it)"
  done
}
need Xvfb xsetroot import convert xdotool python3
[[ -x $kovaren ]] || fail "cannot set up: no $kovaren (build the target kovaren)"

# The waits are generous and bounded: a busy machine is slow, a broken one must not hang the run.
SETUP_LIMIT_S=20

# Xvfb picks a free display and writes its number on the pipe; -noreset keeps the desktop painted
# with xsetroot after that client disconnects (a reset would blank it before the saver starts).
start_x() {
  local size=${1:-640x480}
  Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 "${size}x24" 3>"$work/display" 2>"$work/xvfb.log" &
  pids+=($!)
  xvfb_pid=$!
  local i
  for i in $(seq $((SETUP_LIMIT_S * 20))); do [[ -s $work/display ]] && break; sleep 0.05; done
  [[ -s $work/display ]] || fail "cannot set up: Xvfb did not start ($(tail -1 "$work/xvfb.log"))"
  export DISPLAY=":$(head -1 "$work/display")"
  xsetroot -solid "$DESKTOP_COLOUR"
}

# shot FILE [WINDOW]: the screen, or what one window shows.
shot() { import -window "${2:-root}" "$1"; }

# Waits until process $1 has ended (up to $2 seconds); fails otherwise.
wait_gone() {
  local pid=$1 limit=${2:-2} i
  for i in $(seq $((limit * 20))); do kill -0 "$pid" 2>/dev/null || return 0; sleep 0.05; done
  fail "process $pid still running after ${limit}s"
}

pixels() { python3 "$here/pixels.py" "$@" || fail "pixels $*"; }

# shot_until LIMIT FILE WINDOW CHECK [EARLIER...]: screenshots FILE (of WINDOW, or root) until pixel
# CHECK of EARLIER... and FILE passes, for up to LIMIT seconds: a loaded machine draws late.
shot_until() {
  local limit=$1 file=$2 window=$3 check=$4 deadline
  shift 4
  deadline=$((SECONDS + limit))
  while :; do
    shot "$file" "$window"
    python3 "$here/pixels.py" "$check" "$@" "$file" >/dev/null && return 0
    ((SECONDS < deadline)) || break
    sleep 0.2
  done
  pixels "$check" "$@" "$file"
}

# test_window [GEOMETRY [STRIPE_COLOUR]]: a bare test window (full-screen by default) standing for a
# saver's or a preview's window, plain in the desktop colour or striped with a second colour. Sets
# test_window (its id, decimal) and test_window_pid; not for $(...), whose subshell would lose both.
test_window() {
  local ids=$work/test_window.$RANDOM
  mkfifo "$ids"
  python3 "$here/test_window.py" "${1:-640x480+0+0}" "$DESKTOP_COLOUR" ${2:+"$2"} >"$ids" &
  test_window_pid=$!; pids+=($test_window_pid)
  read -r -t "$SETUP_LIMIT_S" test_window <"$ids" || fail "cannot set up: no test window"
  rm -f "$ids"
}
