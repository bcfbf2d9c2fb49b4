#!/usr/bin/env bash
# Hours, not seconds: runs a saver at 1920x1080 with 101 leaves and an MP3 looping, and samples it
# from outside every minute: RSS, threads, open files, GDI objects (Windows: the running count of
# Wine's +gdi trace) and passes (X11: kovaren reports its count on SIGUSR1; Windows: the saver answers
# a registered message, asked by pass_count_host.exe). Prints every sample, then, past the first
# minute, each figure's first and last sample, its bounds and its slope per hour, and the minutes
# whose pass rate was not within 1 % of 60. A measuring program, not a test: it asserts nothing.
#
#   bench/soak.sh [--minutes M] [--interval S] [x11|win64|both]   (default: 60 minutes, 60 s, both)
#
# "both" runs the two shells at the same time, each on its own X server and sound server. The Windows
# shell needs build/win64/Kovaren.scr and the e2e template (ctest -R e2e_win64_setup), the X11 one
# build/native/kovaren.
set -u
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
minutes=60
interval=60
shell=both
while (($#)); do
  case "$1" in
    --minutes) minutes=$2; shift 2 ;;
    --interval) interval=$2; shift 2 ;;
    x11|win64|both) shell=$1; shift ;;
    *) sed -n '2,14p' "$0" | sed 's/^# \{0,1\}//'; exit 2 ;;
  esac
done
SCREEN_W=1920
SCREEN_H=1080
LEAVES=101
PASS_RATE=60  # the savers' pass rate a second
STARTUP_S=60  # left out of the summary: pictures, music and Wine's own caches settle in the first minute
source "$root/bench/soak_sample.sh"

if [[ $shell == both ]]; then
  out=$(mktemp -d "${TMPDIR:-/tmp}/kvsoak.XXXXXX")
  "$0" --minutes "$minutes" --interval "$interval" x11 >"$out/x11.txt" 2>&1 &
  x11_pid=$!
  "$0" --minutes "$minutes" --interval "$interval" win64 >"$out/win64.txt" 2>&1 &
  win_pid=$!
  wait "$x11_pid" "$win_pid"
  for name in x11 win64; do echo "=== $name"; cat "$out/$name.txt"; done
  rm -rf "$out"
  exit 0
fi

# A tone with a fade, 20 s, as MP3: it loops about three times a minute.
make_mp3() {
  sox -n -r 44100 -c 2 "$1.wav" synth 20 sine 440 fade 0.5 20 0.5 vol 0.5 2>/dev/null &&
    lame --quiet "$1.wav" "$1" && rm -f "$1.wav"
}

# sample_loop PID SAMPLES PASS_READER [GDI_LOG] : one line "seconds rss_kb threads fds gdi passes"
# every interval until the run is over or the process ends; PASS_READER is a command that prints the
# saver's pass count (nothing when it does not answer).
sample_loop() {
  local pid=$1 samples=$2 pass_reader=$3 gdi_log=${4:-} start=$SECONDS start_ms next gdi passes
  start_ms=$(soak_clock)
  echo "# seconds rss_kb threads open_files gdi_objects passes" >"$samples"
  next=$SECONDS
  while ((SECONDS - start <= minutes * 60)); do
    kill -0 "$pid" 2>/dev/null || { echo "# the saver ended after $((SECONDS - start)) s" | tee -a "$samples"; break; }
    passes=-; gdi=-
    passes=$($pass_reader)
    [[ -n $gdi_log ]] && gdi=$(soak_gdi_objects "$gdi_log")
    echo "$(soak_elapsed "$start_ms") $(soak_proc_figures "$pid") ${gdi:--} ${passes:--}" | tee -a "$samples"
    next=$((next + interval))
    sleep $((next - SECONDS > 0 ? next - SECONDS : 0))
  done
  echo "--- summary past the first $STARTUP_S s (${minutes} min, sampled every ${interval} s," \
    "$(nproc) cores shared with other work)"
  soak_summary "$samples" "$STARTUP_S" "$PASS_RATE"
}

if [[ $shell == x11 ]]; then
  export KOVAREN_NATIVE_BUILD=${KOVAREN_NATIVE_BUILD:-$root/build/native}
  source "$root/tests/e2e/x11/harness.sh"
  set +e
  kv_need pulseaudio pactl sox lame
  start_sound_server
  start_x "${SCREEN_W}x${SCREEN_H}"
  make_mp3 "$work/loop.mp3" || kv_die "cannot set up: the MP3"
  "$kovaren" --fullscreen --count $((LEAVES - 1)) --music "$work/loop.mp3" 2>"$work/kovaren.log" &
  pid=$!; kv_track_pid $pid
  timeout "$SETUP_LIMIT_S" xdotool search --sync --onlyvisible --classname kovaren >/dev/null ||
    kv_die "kovaren's window did not show"
  echo "x11: kovaren --fullscreen --count $((LEAVES - 1)) --music (MP3), ${SCREEN_W}x${SCREEN_H}, pid $pid"
  x11_passes() { soak_x11_passes "$pid" "$work/kovaren.log"; }
  sample_loop "$pid" "$work/samples.txt" x11_passes
  exit 0
fi

# win64: the saver under Wine, its GDI objects counted by Wine's +gdi trace.
source "$root/tests/e2e/kit/folders.sh"
source "$root/tests/e2e/win32/harness.sh"
KV_SCREEN_W=$SCREEN_W KV_SCREEN_H=$SCREEN_H
kv_start
make_mp3 "$KV_APP_DIR/loop.mp3" || kv_die "cannot make the MP3"
# BGM区分 2 (a file), BGMﾘﾋﾟｰﾄ 0 (over and over), the file, もみじ N (N + 1 leaves).
kv_write_ini '[Section]' 'BGM区分= 2' 'BGMﾘﾋﾟｰﾄ= 0' "BGMﾌｧｲﾙ=$(kv_windows_path "$KV_APP_DIR/loop.mp3")" \
  "もみじ= $((LEAVES - 1))"
export WINEDEBUG=+gdi
kv_launch /s
pid=$KV_PID
kv_wait_window Tesmar_Main 30 >/dev/null || kv_die "the saver's window did not show"
echo "win64: Kovaren.scr /s, $LEAVES leaves, MP3 looping, ${SCREEN_W}x${SCREEN_H}, pid $pid"
sample_loop "$pid" "$KV_TMP/samples.txt" kv_pass_count "$KV_ARTIFACTS/wine.log"
