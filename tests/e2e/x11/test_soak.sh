#!/usr/bin/env bash
# A short soak: the full-screen saver with 101 leaves and an MP3 looping, sampled from outside every
# few seconds. Past the start-up its memory, threads and open files stay flat, and its pass rate
# holds: the second half's rate is within a tenth of the first half's.
source "$(dirname "$0")/harness.sh"
source "$here/../../../bench/soak_sample.sh"
kv_need pulseaudio pactl sox lame
RUN_S=100
INTERVAL_S=10
STARTUP_S=20          # pictures, the music pipeline and the caches settle
RSS_GROWTH_KB=1024    # a leak of a few kB a pass would pass this in seconds
RATE_FALL=0.10

start_sound_server
start_x 1280x720
make_tone "$work/loop.mp3" 5
"$kovaren" --fullscreen --count 100 --music "$work/loop.mp3" 2>"$work/kovaren.log" &
pid=$!; kv_track_pid $pid
timeout "$SETUP_LIMIT_S" xdotool search --sync --onlyvisible --classname kovaren >/dev/null ||
  kv_die "kovaren's window did not show"
start=$SECONDS
: >"$work/samples.txt"
while ((SECONDS - start <= RUN_S)); do
  kill -0 "$pid" 2>/dev/null || kv_die "kovaren ended after $((SECONDS - start)) s"
  passes=$(soak_x11_passes "$pid" "$work/kovaren.log")
  [[ -n $passes ]] || kv_die "kovaren did not report its passes"
  echo "$((SECONDS - start)) $(soak_proc_figures "$pid") - $passes" | tee -a "$work/samples.txt"
  sleep "$INTERVAL_S"
done
soak_summary "$work/samples.txt" "$STARTUP_S"

soak_check_flat "$work/samples.txt" "$STARTUP_S" "$RSS_GROWTH_KB" "$RATE_FALL" || kv_die "the saver did not stay flat"
echo "soak: passed"
