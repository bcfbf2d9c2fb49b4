#!/usr/bin/env bash
# Faults from around the saver: the sound server killed and started again, the music file deleted or
# replaced by a broken one while it loops, and the process frozen for 10 s: the leaves keep falling
# (its pass count keeps rising), and after the freeze it resumes within half a second with one pass,
# not a burst of catch-up passes. The X server going away and the daemon's window destroyed end it
# at once, with no core dump and no shared segment left.
#
#   test_faults.sh [CASE...]   sound, file, freeze, window, xserver (default: all; they run in that
#                              order; the first three share a saver where they can)
source "$(dirname "$0")/harness.sh"
source "$here/../../../bench/soak_sample.sh"
kv_need pulseaudio pactl sox lame ipcs
FREEZE_S=10
RESUME_S=0.5
BURST_MAX=2  # passes run at once right after a freeze: one due, another at most if a period passed
LOOP_S=3     # the song's length: a wait of LOOP_S + 1 seconds crosses a loop's start

kv_choose_cases "sound file freeze window xserver" "$@"

start_sound_server
make_tone "$work/loop.mp3" "$LOOP_S"
head -c 30000 /dev/urandom >"$work/broken.mp3"  # an MP3 by name only
pid=

# start_saver ARGS... : kovaren with the looping MP3 and ARGS, once its window shows; sets pid.
start_saver() {
  # From the scratch folder, where a core dump would land; the shell's limit may forbid one, which
  # would hide it.
  (cd "$work" && ulimit -c unlimited && exec "$kovaren" --count 100 --music "$work/song.mp3" "$@" 2>"$work/kovaren.log") &
  pid=$!; kv_track_pid $pid
  if [[ -z ${XSCREENSAVER_WINDOW:-} ]]; then
    timeout "$SETUP_LIMIT_S" xdotool search --sync --onlyvisible --classname kovaren >/dev/null ||
      kv_die "kovaren's window did not show"
  fi
  sleep 1
}
running() { [[ -n $pid ]] && kill -0 "$pid" 2>/dev/null; }
passes() { soak_x11_passes "$pid" "$work/kovaren.log"; }
at_once() { grep '^kovaren: passes ' "$work/kovaren.log" | tail -n1 | awk '{print $5}'; }

# still_falling WHAT : the saver runs and its pass count rises over a second.
still_falling() {
  local before after
  before=$(passes)
  sleep 1
  kill -0 "$pid" 2>/dev/null || kv_die "$1: the saver ended ($(tail -n1 "$work/kovaren.log"))"
  after=$(passes)
  ((${after:-0} > ${before:-0} + 30)) || kv_die "$1: the leaves stopped ($before, then $after passes)"
}

# stop_saver WHAT : SIGTERM ends it with status 0.
stop_saver() {
  kill -TERM "$pid"
  kv_expect_gone "$pid" 3
  local status=0
  wait "$pid" || status=$?
  ((status == 0)) || kv_die "$1: exit status $status"
}

streams() { pactl list short sink-inputs 2>/dev/null | grep -c . || true; }
# wait_streams WANT : until the sound server has WANT streams (0, or "some"), up to SETUP_LIMIT_S.
wait_streams() {
  local deadline
  deadline=$(kv_deadline "$SETUP_LIMIT_S")
  until { [[ $1 == some ]] && (($(streams) > 0)); } || { [[ $1 == 0 ]] && (($(streams) == 0)); }; do
    kv_before "$deadline" || return 1
    sleep 0.1
  done
}

# full_screen_saver : the full-screen saver, started with the song playing unless it runs already.
full_screen_saver() {
  running && return 0
  cp "$work/loop.mp3" "$work/song.mp3"
  start_saver --fullscreen
  wait_streams some || kv_die "the song does not play"
  still_falling "playing"
}

# playing_saver : the full-screen saver with the song playing; one whose music has fallen silent
# (an earlier fault's doing) gives way to a new one.
playing_saver() {
  if running && (($(streams) == 0)); then stop_saver "silent after a fault"; fi
  full_screen_saver
}

# The sound server killed mid-play, then started again.
case_sound() {
  playing_saver
  kill -KILL "$pulse_pid"
  wait "$pulse_pid" 2>/dev/null || true  # killed, as meant
  still_falling "sound server gone"
  start_sound_server
  still_falling "sound server back"
}

# The music file deleted while it loops, a broken one put under its name, and the bytes the player
# holds open made broken, each over a loop's start. The last leaves nothing to play: the music falls
# silent rather than starting the broken file over and over.
case_file() {
  playing_saver
  kv_break_music_file "$work/song.mp3" "$work/broken.mp3" $((LOOP_S + 1)) still_falling
  wait_streams 0 || kv_die "music file broken while open: still playing it ($(streams) streams), over and over"
}

# Frozen, then resumed: passes again within RESUME_S, and no burst.
case_freeze() {
  full_screen_saver
  local before after
  before=$(passes)
  kill -STOP "$pid"
  sleep "$FREEZE_S"
  kill -CONT "$pid"
  sleep "$RESUME_S"
  after=$(passes)
  ((${after:-0} > ${before:-0})) || kv_die "frozen: no pass within ${RESUME_S} s of SIGCONT ($before, then $after)"
  (($(at_once) <= BURST_MAX)) || kv_die "frozen: $(at_once) passes at once after SIGCONT (a catch-up burst)"
  ((after - before <= 60 * 1)) || kv_die "frozen: $((after - before)) passes in ${RESUME_S} s after SIGCONT"
  still_falling "after the freeze"
}

# The daemon's window destroyed under it: it ends.
case_window() {
  if running; then stop_saver "after the faults"; fi
  test_window
  XSCREENSAVER_WINDOW=$test_window start_saver --root
  still_falling "in the daemon's window"
  kill "$test_window_pid"
  kv_wait_gone "$pid" 2 || kv_die "window destroyed: the saver still runs after 2 s"
  local status=0
  wait "$pid" || status=$?
  ((status == 0)) || kv_die "window destroyed: exit status $status"
}

segments() { ipcs -m -p | awk -v pid="$pid" '$3 == pid'; }

# x_server_gone WHAT [shared] : the saver on $DISPLAY, which is then killed: it ends at once, by
# itself and not by a signal, with no core dump and no shared segment left; with "shared" it must
# have drawn through MIT-SHM.
x_server_gone() {
  local what=$1 status=0 i
  cp "$work/loop.mp3" "$work/song.mp3"
  start_saver --fullscreen
  [[ ${2:-} != shared || -n $(segments) ]] || kv_die "$what: no shared segment (MIT-SHM unused)"
  kill -KILL "$KV_XVFB_PID"
  kv_wait_gone "$pid" 1 || kv_die "$what: the saver still runs after 1 s"
  wait "$pid" || status=$?
  ((status < 128)) || kv_die "$what: ended by signal $((status - 128))"
  ls "$work"/core* 2>/dev/null && kv_die "$what: a core dump"
  for i in $(seq 40); do [[ -z $(segments) ]] && break; sleep 0.05; done
  [[ -z $(segments) ]] || kv_die "$what: shared segments left"
}

# The X server killed, over the local socket (a hang-up the loop sees) and over TCP, where the end
# reads as the end of a stream inside Xlib and its error path ends the saver, as when a server goes
# mid-request. (The server refuses MIT-SHM to a client over TCP.)
case_xserver() {
  if running; then stop_saver "after the faults"; fi
  x_server_gone "X server gone" shared
  mkdir -p "$work/tcp"
  KV_X_START_LIMIT_S=$SETUP_LIMIT_S kv_start_xvfb 640x480 "$work/tcp" -listen tcp
  DISPLAY=localhost$DISPLAY x_server_gone "X server gone (TCP)"
}

start_x 640x480
kv_run_cases
echo "faults: passed ($(echo $KV_CASES))"
