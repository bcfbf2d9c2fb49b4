#!/usr/bin/env bash
# kovaren built with AddressSanitizer, LeakSanitizer and UndefinedBehaviorSanitizer, run full screen
# for RUN_S seconds with an MP3 looping and the monitors changed under it (a monitor added, then
# removed), then SIGTERM: it must end with status 0 and no sanitizer report. Run by scripts/sanitize
# with KOVAREN_NATIVE_BUILD naming the sanitized build.
source "$(dirname "$0")/harness.sh"
kv_need pulseaudio pactl sox lame xrandr
RUN_S=${KOVAREN_SANITIZE_SECONDS:-120}
REPORT='ERROR: (Address|Leak)Sanitizer|runtime error:|SUMMARY: (Address|Leak|UndefinedBehavior)Sanitizer'

start_sound_server
start_x 1280x720
make_tone "$work/loop.mp3" 5
# GStreamer's and GLib's own once-per-process caches are still reachable at exit through their
# globals; LSan counts only what nothing points to, so no suppressions are needed for them.
ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  "$kovaren" --fullscreen --count 100 --music "$work/loop.mp3" 2>"$work/kovaren.log" &
pid=$!; kv_track_pid $pid
timeout "$SETUP_LIMIT_S" xdotool search --sync --onlyvisible --classname kovaren >/dev/null ||
  kv_die "kovaren's window did not show: $(tail -5 "$work/kovaren.log")"
sleep $((RUN_S / 3))
xrandr --setmonitor left 640/0x720/0+0+0 screen || kv_die "cannot set up: xrandr --setmonitor"
sleep $((RUN_S / 3))
xrandr --delmonitor left || kv_die "cannot set up: xrandr --delmonitor"
sleep $((RUN_S / 3))
kill -0 "$pid" 2>/dev/null || kv_die "kovaren ended early: $(tail -20 "$work/kovaren.log")"
kill -TERM "$pid"
kv_expect_gone "$pid" 10
status=0; wait "$pid" || status=$?
if grep -qE "$REPORT" "$work/kovaren.log"; then
  cat "$work/kovaren.log" >&2
  kv_die "a sanitizer report"
fi
((status == 0)) || kv_die "exit status $status: $(tail -20 "$work/kovaren.log")"
echo "sanitized run: ${RUN_S} s, music, a monitor added and removed, no report"
