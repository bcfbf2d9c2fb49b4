#!/usr/bin/env bash
# Faults from around the saver under Wine, with an MP3 looping: the sound server killed mid-play and
# started again, the music file deleted, a broken one put under its name, and the bytes the player
# holds open made broken; then the process frozen for 10 s. Each time the saver keeps running and
# drawing (two screenshots a moment apart differ, and its pass count rises). After the freeze it
# draws again within half a second and runs no burst of catch-up passes.
#
#   test_saver_faults.sh [CASE...]   sound, file, freeze (default: all, in that order, in one saver)
set -u
source "$KOVAREN_SOURCE_DIR/tests/e2e/win32/harness.sh"
LOOP_S=3         # the song's length; the saver looks for its end every second
FREEZE_S=10
RESUME_S=0.5
SHOT_GAP_S=0.3   # two screenshots this far apart differ while leaves fall
RISE_MIN=15      # passes a drawing saver runs at least over one check (about a second at 60 a second)
# Passes beyond 60 a second that a window of the count may hold without a burst: a pass delayed just
# before it (the machine is shared) is caught up inside it, at most four, plus one for rounding.
CATCH_UP_SLACK=5

kv_choose_cases "sound file freeze" "$@"

kv_start
kv_need sox lame
sox -n -r 44100 -c 2 "$KV_TMP/loop.wav" synth "$LOOP_S" sine 440 vol 0.5 2>/dev/null &&
  lame --quiet "$KV_TMP/loop.wav" "$KV_TMP/loop.mp3" || kv_die "cannot make the MP3"
head -c 30000 /dev/urandom >"$KV_TMP/broken.mp3"  # an MP3 by name only
song=$KV_APP_DIR/song.mp3
cp "$KV_TMP/loop.mp3" "$song"
# BGM区分 2 (a file), BGMﾘﾋﾟｰﾄ 0 (over and over), the file, もみじ 100 (101 leaves).
kv_write_ini '[Section]' 'BGM区分= 2' 'BGMﾘﾋﾟｰﾄ= 0' "BGMﾌｧｲﾙ=$(kv_windows_path "$song")" 'もみじ= 100'
kv_start_saver "the saver's window appears" 20
[[ -n $KV_SAVER_WIN ]] || { kv_why_no_window "$KV_SAVER_PID"; kv_finish; }
sleep 1

pictures_differ() { ! kv_same_picture "$1" "$2" >/dev/null; }

shots=0
# screen_moves : two screenshots SHOT_GAP_S apart differ.
screen_moves() {
  shots=$((shots + 1))
  kv_shot "$KV_TMP/moving.$shots.a.png"
  sleep "$SHOT_GAP_S"
  kv_shot "$KV_TMP/moving.$shots.b.png"
  pictures_differ "$KV_TMP/moving.$shots.a.png" "$KV_TMP/moving.$shots.b.png"
}

# drawing WHAT : the saver runs, its picture moves and its pass count rises; says why not.
drawing() {
  local before after
  before=$(kv_pass_count)
  kv_wait_window Tesmar_Main 0 >/dev/null || { kv_log "$1: the saver's window is gone"; return 1; }
  screen_moves || { kv_log "$1: the screen stood still"; return 1; }
  sleep 0.5
  kill -0 "$KV_SAVER_PID" 2>/dev/null || { kv_log "$1: the saver ended"; return 1; }
  after=$(kv_pass_count)
  ((${after:-0} >= ${before:-0} + RISE_MIN)) || { kv_log "$1: passes $before, then $after"; return 1; }
}
still_drawing() { kv_check "$1: the saver keeps drawing" drawing "$1"; }

# wait_stream SECS : until the sound server has a stream (the song plays), up to SECS.
wait_stream() {
  local deadline
  deadline=$(kv_deadline "$1")
  until pactl list short sink-inputs 2>/dev/null | grep -q .; do
    kv_before "$deadline" || return 1
    sleep 0.1
  done
}

kv_check "the song plays (a stream on the sound server)" wait_stream 10
still_drawing "playing"

# The sound server killed mid-play (over a loop's end, so the saver restarts the song without it),
# then started again.
case_sound() {
  kill -KILL "$KV_PULSE_PID"
  wait "$KV_PULSE_PID" 2>/dev/null  # killed, as meant
  sleep $((LOOP_S + 1))
  still_drawing "sound server gone"
  kv_restart_sound_server
  sleep $((LOOP_S + 1))
  still_drawing "sound server back"
}

# The music file deleted while it loops, a broken one put under its name, and the bytes the player
# holds open made broken, each over a loop's end.
case_file() { kv_break_music_file "$song" "$KV_TMP/broken.mp3" $((LOOP_S + 1)) still_drawing; }

# now_ms : milliseconds on the monotonic-enough wall clock the shell has.
now_ms() { date +%s%3N; }

# Frozen (SIGSTOP on the saver's process), then resumed: the picture moves within RESUME_S of
# SIGCONT, and it ran no more passes than the time it was not frozen holds (a catch-up of the frozen
# seconds would run hundreds).
case_freeze() {
  local before after asked stopped resumed answered ran allowed
  asked=$(now_ms)
  before=$(kv_pass_count)
  stopped=$(now_ms)
  kill -STOP "$KV_SAVER_PID"
  sleep 1
  kv_shot "$KV_TMP/frozen.png"
  sleep $((FREEZE_S - 1))
  kill -CONT "$KV_SAVER_PID"
  resumed=$(now_ms)
  sleep "$RESUME_S"
  kv_shot "$KV_TMP/resumed.png"
  after=$(kv_pass_count)
  answered=$(now_ms)
  kv_check "frozen: the picture moves within ${RESUME_S} s of SIGCONT" \
    pictures_differ "$KV_TMP/frozen.png" "$KV_TMP/resumed.png"
  ran=$((${after:-0} - ${before:-0}))
  allowed=$(((stopped - asked + answered - resumed) * 60 / 1000 + CATCH_UP_SLACK))
  kv_log "frozen: $ran passes while it ran $((stopped - asked + answered - resumed)) ms (at most $allowed)"
  kv_check "frozen: no burst of catch-up passes after SIGCONT" test "$ran" -le "$allowed"
  still_drawing "after the freeze"
}

kv_run_cases
kv_check "the saver still runs after the faults" kill -0 "$KV_SAVER_PID"
kv_finish
