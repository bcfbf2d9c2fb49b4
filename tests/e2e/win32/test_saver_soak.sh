#!/usr/bin/env bash
# A short soak under Wine: the saver with 101 leaves and an MP3 looping, sampled from outside every
# few seconds. Past the start-up its GDI objects (the running count of Wine's +gdi trace), threads and
# open files do not grow, its memory stays within a bound, and its pass rate holds: the second half's
# rate (the saver answers pass_count_host.exe) is within a tenth of the first half's.
set -u
source "$KOVAREN_SOURCE_DIR/tests/e2e/win32/harness.sh"
source "$KOVAREN_SOURCE_DIR/bench/soak_sample.sh"
kv_start
RUN_S=90
INTERVAL_S=10
STARTUP_S=20
RSS_GROWTH_KB=2048  # Wine's heaps grow in larger steps than glibc's
RATE_FALL=0.10

sox -n -r 44100 -c 2 "$KV_TMP/loop.wav" synth 5 sine 440 vol 0.5 2>/dev/null &&
  lame --quiet "$KV_TMP/loop.wav" "$KV_APP_DIR/loop.mp3" || kv_die "cannot make the MP3"
# BGM区分 2 (a file), BGMﾘﾋﾟｰﾄ 0 (over and over), the file, もみじ 100 (101 leaves).
kv_write_ini '[Section]' 'BGM区分= 2' 'BGMﾘﾋﾟｰﾄ= 0' "BGMﾌｧｲﾙ=$(kv_windows_path "$KV_APP_DIR/loop.mp3")" 'もみじ= 100'
WINEDEBUG=+gdi kv_launch /s
pid=$KV_PID
kv_check "the saver window appears" kv_wait_window Tesmar_Main 20
start=$SECONDS
start_ms=$(soak_clock)
: >"$KV_TMP/samples.txt"
while ((SECONDS - start <= RUN_S)); do
  kill -0 "$pid" 2>/dev/null || break
  passes=$(kv_pass_count) || kv_die "the saver did not report its passes"
  gdi=$(soak_gdi_objects "$KV_ARTIFACTS/wine.log")
  echo "$(soak_elapsed "$start_ms") $(soak_proc_figures "$pid") ${gdi:--} $passes" | tee -a "$KV_TMP/samples.txt"
  sleep "$INTERVAL_S"
done
kv_check "the saver ran ${RUN_S} s" kill -0 "$pid"
kv_check "GDI objects are counted (Wine's +gdi trace)" grep -qaE '[0-9]+/65536' "$KV_ARTIFACTS/wine.log"
soak_summary "$KV_TMP/samples.txt" "$STARTUP_S"
kv_check "GDI objects, threads, open files, memory and the pass rate stay flat" \
  soak_check_flat "$KV_TMP/samples.txt" "$STARTUP_S" "$RSS_GROWTH_KB" "$RATE_FALL"
kv_finish
