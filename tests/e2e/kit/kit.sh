# What every end-to-end suite needs, whatever it runs: a private X server, processes stopped by PID,
# screenshots, pixel facts, waits with a limit, and the pass/fail count. Sourced by a suite's harness.
#
#   kv_start_xvfb WxH LOG_DIR [XVFB_ARGS...]   exports DISPLAY
#   kv_track_pid PID                           stopped by kv_stop_tracked (and by the watchdog)
#   kv_shot FILE [WINDOW]; kv_pixel FILE X Y; kv_same_picture A B; kv_pixels CHECK PICTURE...
#   kv_check "what" COMMAND...; kv_die MESSAGE; kv_finish
#
# Python helpers are the package `kit` (this folder): kv_python runs a program that can
# `from kit.shots import load, LEAF_COLOURS`.

KV_KIT_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
KV_PASSED=0
KV_FAILED=0
KV_PIDS=()      # processes started for the test, in start order: stopped at exit if still running
KV_PID_FILE=    # when set, every tracked PID is also written there for the watchdog
KV_SCRATCH=()   # folders the watchdog removes
KV_POLL_S=0.02  # how often the waits look again

# The waits are generous and bounded: a busy machine is slow, a broken one must not hang the run.
KV_X_START_LIMIT_S=10

# kv_deadline SECS : the moment SECS (whole or decimal) from now, in microseconds, for kv_before.
# Bash's SECONDS counts whole seconds from the shell's start, so "SECONDS + 3" can end a wait after
# barely two; the real clock keeps a limit what it says.
kv_deadline() {
  local whole=${1%%.*} frac=000000
  [[ $1 == *.* ]] && frac=${1#*.}000000
  echo $((${EPOCHREALTIME/[.,]/} + ${whole:-0} * 1000000 + 10#${frac:0:6}))
}

# kv_before DEADLINE : true while the real clock has not reached DEADLINE (from kv_deadline).
kv_before() { ((${EPOCHREALTIME/[.,]/} < $1)); }

# kv_log MESSAGE... : a line on stderr, prefixed so it stands out in CTest's output.
kv_log() { echo "[e2e] $*" >&2; }

# kv_die MESSAGE... : the test cannot go on; counts as a failure and exits.
kv_die() {
  kv_log "FATAL: $*"
  KV_FAILED=$((KV_FAILED + 1))
  echo "$KV_PASSED passed, $KV_FAILED failed"
  exit 1
}

# kv_need COMMAND... : a test that cannot set up says so in one line.
kv_need() {
  local command
  for command in "$@"; do
    command -v "$command" >/dev/null || kv_die "cannot set up: $command is missing (scripts/setup installs it)"
  done
}

# kv_check "what" COMMAND... : runs COMMAND; records and prints a pass or a failure named "what".
kv_check() {
  local what=$1
  shift
  if "$@"; then
    KV_PASSED=$((KV_PASSED + 1))
    kv_log "PASS: $what"
  else
    KV_FAILED=$((KV_FAILED + 1))
    kv_log "FAIL: $what"
  fi
}

# kv_finish : prints "N passed, N failed" and exits (non-zero when anything failed or nothing was
# checked). A suite may set KV_FINISH_HOOK to a command run before a failed exit (e.g. to show a log:
# CI keeps only what the test printed).
kv_finish() {
  echo "$KV_PASSED passed, $KV_FAILED failed"
  ((KV_FAILED == 0 && KV_PASSED > 0)) && exit 0
  [[ -n ${KV_FINISH_HOOK:-} ]] && $KV_FINISH_HOOK
  exit 1
}

# kv_track_pid PID... : notes processes to stop at the end (and, for the watchdog, in $KV_PID_FILE).
kv_track_pid() {
  KV_PIDS+=("$@")
  [[ -z $KV_PID_FILE ]] || printf '%s\n' "$@" >>"$KV_PID_FILE"
}

# kv_stop_tracked : stops every tracked process still running, the last started first (programs before
# the servers they use), and reaps them.
kv_stop_tracked() {
  local i pid
  for ((i = ${#KV_PIDS[@]} - 1; i >= 0; i--)); do
    pid=${KV_PIDS[$i]}
    # A killed process's status is not a failure of the clean-up (which may run under set -e).
    { kill "$pid" && wait "$pid"; } 2>/dev/null || true
  done
  KV_PIDS=()
  return 0
}

# kv_start_watchdog [FIRST_COMMAND...] : a helper process that cleans up when the test is killed outright
# (a CTest time-out sends SIGKILL, which no trap sees): once the test's shell is gone it runs
# FIRST_COMMAND, stops the processes listed in $KV_PID_FILE and removes the folders of KV_SCRATCH.
kv_start_watchdog() {
  local test_pid=$$
  : "${KV_PID_FILE:?set KV_PID_FILE before starting the watchdog}"
  (
    trap '' INT TERM
    exec </dev/null >/dev/null 2>&1
    while kill -0 "$test_pid" 2>/dev/null; do sleep 1; done
    [[ -f $KV_PID_FILE ]] || exit 0
    (($# == 0)) || "$@"
    while read -r pid; do kill "$pid"; done <"$KV_PID_FILE"
    sleep 1
    rm -rf "${KV_SCRATCH[@]}"
  ) &
  disown $!
}

# kv_start_xvfb WxH LOG_DIR [XVFB_ARGS...] : a private Xvfb on a free display (24-bit, no TCP, no reset,
# so a desktop painted by a client that has gone stays); exports DISPLAY, sets KV_XVFB_PID.
kv_start_xvfb() {
  local size=$1 dir=$2 number
  shift 2
  mkfifo "$dir/displayfd" || kv_die "cannot set up: no pipe for Xvfb"
  # Xvfb writes the display number on the descriptor once it accepts clients.
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset "$@" 3>"$dir/displayfd" >"$dir/xvfb.log" 2>&1 &
  KV_XVFB_PID=$!
  kv_track_pid "$KV_XVFB_PID"
  read -r -t "$KV_X_START_LIMIT_S" number <"$dir/displayfd" ||
    kv_die "cannot set up: Xvfb did not start ($(tail -n 1 "$dir/xvfb.log"))"
  export DISPLAY=:$number
}

# kv_start_pulse LOG : a private PulseAudio with a null sink named "nullsink", reached through
# $PULSE_SERVER (a socket under $XDG_RUNTIME_DIR: export both first), its output appended to LOG;
# sets KV_PULSE_PID. Returns at once: kv_wait_pulse waits until it answers.
kv_start_pulse() {
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
    -L "module-null-sink sink_name=nullsink" -L "module-native-protocol-unix auth-anonymous=1" \
    >>"$1" 2>&1 &
  KV_PULSE_PID=$!
  kv_track_pid "$KV_PULSE_PID"
}

# kv_wait_pulse LOG SECS : waits until the sound server answers (a killed one may leave its socket
# behind, so its answer counts, not the socket); the test ends when it did not within SECS.
kv_wait_pulse() {
  local deadline
  deadline=$(kv_deadline "$2")
  until pactl info >/dev/null 2>&1; do
    kv_before "$deadline" || kv_die "cannot set up: PulseAudio did not start ($(tail -n 1 "$1"))"
    sleep 0.05
  done
}

# kv_choose_cases "CASE..." ARGS... : a test made of named cases runs those its arguments name (each
# must be one of CASE...), or all of them without arguments; kv_run_cases then calls case_NAME for
# each, in the order of CASE...
kv_choose_cases() {
  local name
  KV_ALL_CASES=$1
  shift
  KV_CASES=" ${*:-$KV_ALL_CASES} "
  for name in $KV_CASES; do
    [[ " $KV_ALL_CASES " == *" $name "* ]] || kv_die "no case '$name' (cases: $KV_ALL_CASES)"
  done
}
kv_run_cases() {
  local name
  for name in $KV_ALL_CASES; do
    if [[ $KV_CASES == *" $name "* ]]; then "case_$name"; fi
  done
}

# kv_break_music_file SONG BROKEN WAIT_S CHECK : what a looping music file may meet, each followed by
# WAIT_S seconds (long enough to cross a loop's end) and `CHECK WHAT`: SONG deleted (a player goes on
# with the bytes it holds open), BROKEN copied under its name (a player that opens it again meets
# that), then BROKEN written over the very bytes the player holds open (through SONG.open, a second
# name made first).
kv_break_music_file() {
  local song=$1 broken=$2 wait_s=$3 check=$4
  ln -f "$song" "$song.open"
  rm -f "$song"
  sleep "$wait_s"
  "$check" "music file deleted"
  cp "$broken" "$song"
  sleep "$wait_s"
  "$check" "music file replaced by a broken one"
  cat "$broken" >"$song.open"
  sleep "$wait_s"
  "$check" "music file broken while open"
}

# kv_wait_gone PID [SECS] : waits (default 2 s) until a process has ended; false when it still runs.
# Does not reap it, so `wait PID` still tells a child's status. Sets KV_WAITED_MS.
kv_wait_gone() {
  local pid=$1 secs=${2:-2} start_ms
  start_ms=$(date +%s%3N)
  KV_WAITED_MS=0
  while kill -0 "$pid" 2>/dev/null; do
    # A zombie has ended; only its parent's `wait` can reap it.
    [[ $(ps -o stat= -p "$pid" 2>/dev/null) == Z* ]] && break
    KV_WAITED_MS=$(($(date +%s%3N) - start_ms))
    ((KV_WAITED_MS < secs * 1000)) || return 1
    sleep "$KV_POLL_S"
  done
  KV_WAITED_MS=$(($(date +%s%3N) - start_ms))
}

# kv_expect_gone PID [SECS] : the process must have ended within SECS (default 2); the test ends otherwise.
kv_expect_gone() { kv_wait_gone "$@" || kv_die "process $1 still running after ${2:-2} s"; }

# kv_shot FILE [WINDOW] : screenshot (PNG) of the screen, or of what one X window shows.
kv_shot() { import -window "${2:-root}" "$1"; }

# kv_pixel FILE X Y : prints "R G B" (0-255 each) of one pixel of a picture.
kv_pixel() {
  convert "$1" -crop "1x1+$2+$3" +repage -depth 8 -format '%[fx:int(255*r+.5)] %[fx:int(255*g+.5)] %[fx:int(255*b+.5)]\n' info:
}

# kv_screen_pixel X Y : prints "R G B" of one pixel of the screen as it is now.
kv_screen_pixel() {
  import -window root -crop "1x1+$1+$2" +repage -depth 8 \
    -format '%[fx:int(255*r+.5)] %[fx:int(255*g+.5)] %[fx:int(255*b+.5)]\n' info: 2>/dev/null
}

# kv_same_picture A B [REGION] : true when two pictures (or the region WxH+X+Y of both) agree pixel for
# pixel; prints the number of differing pixels.
kv_same_picture() {
  local a=$1 b=$2 region=${3:-} scratch diff
  scratch=$(mktemp -d) || return 2
  if [[ -n $region ]]; then
    convert "$a" -crop "$region" +repage "PNG24:$scratch/a.png" && convert "$b" -crop "$region" +repage "PNG24:$scratch/b.png"
    a=$scratch/a.png b=$scratch/b.png
  fi
  diff=$(compare -metric AE "$a" "$b" null: 2>&1)
  rm -rf "$scratch"
  echo "$diff"
  [[ $diff == 0 ]]
}

# kv_python ARGS... : runs the Python program on standard input with ARGS, with the kit's package on
# the path (`from kit.shots import load, LEAF_COLOURS`).
kv_python() { PYTHONPATH="${KV_KIT_DIR%/*}${PYTHONPATH:+:$PYTHONPATH}" python3 - "$@"; }

# kv_pixel_fact CHECK PICTURE... : true when the pixel check holds (kit/pixels.py names the checks);
# prints why not.
kv_pixel_fact() { PYTHONPATH="${KV_KIT_DIR%/*}${PYTHONPATH:+:$PYTHONPATH}" python3 -m kit.pixels "$@"; }

# kv_pixels CHECK PICTURE... : the pixel check must hold; the test ends otherwise.
kv_pixels() { kv_pixel_fact "$@" || kv_die "pixels $*"; }

# kv_shot_until LIMIT FILE WINDOW COMMAND... : screenshots FILE (of WINDOW, or root) until COMMAND
# succeeds, for up to LIMIT seconds (a loaded machine draws late); false when it never did. A suite
# whose screen is no X screen names its own screenshot command FILE WHERE in KV_SHOT.
kv_shot_until() {
  local limit=$1 file=$2 window=$3 deadline
  shift 3
  deadline=$(kv_deadline "$limit")
  while :; do
    "${KV_SHOT:-kv_shot}" "$file" "$window"
    "$@" && return 0
    kv_before "$deadline" || return 1
    sleep 0.2
  done
}

# kv_shot_until_fact LIMIT FILE WINDOW CHECK [EARLIER...] : kv_shot_until for a pixel check of
# EARLIER... and FILE; the test ends when it never held.
kv_shot_until_fact() {
  local limit=$1 file=$2 window=$3 check=$4
  shift 4
  kv_shot_until "$limit" "$file" "$window" kv_pixel_fact "$check" "$@" "$file" >/dev/null ||
    kv_pixels "$check" "$@" "$file"
}

# kv_value_of KEY TEXT : the value of a "KEY=value" line of TEXT (as the pixel checks print them).
kv_value_of() { sed -n "s/^$1=//p" <<<"$2"; }
