#!/usr/bin/env bash
# A short soak: the full-screen saver with 101 leaves and an MP3 looping, sampled from outside every
# few seconds. Past the start-up its memory, threads and open files stay flat, and its pass rate
# holds: the second half's rate is within a tenth of the first half's.
source "$(dirname "$0")/harness.sh"
source "$here/../../../bench/soak_sample.sh"
need pulseaudio pactl sox lame
RUN_S=100
INTERVAL_S=10
STARTUP_S=20          # pictures, the music pipeline and the caches settle
RSS_GROWTH_KB=1024    # a leak of a few kB a pass would pass this in seconds
RATE_FALL=0.10

start_sound_server
start_x 1280x720
make_tone "$work/loop.mp3" 5
"$kovaren" --fullscreen --count 100 --music "$work/loop.mp3" 2>"$work/kovaren.log" &
pid=$!; pids+=($pid)
timeout "$SETUP_LIMIT_S" xdotool search --sync --onlyvisible --classname kovaren >/dev/null ||
  fail "kovaren's window did not show"
start=$SECONDS
: >"$work/samples.txt"
while ((SECONDS - start <= RUN_S)); do
  kill -0 "$pid" 2>/dev/null || fail "kovaren ended after $((SECONDS - start)) s"
  passes=$(soak_x11_passes "$pid" "$work/kovaren.log")
  [[ -n $passes ]] || fail "kovaren did not report its passes"
  echo "$((SECONDS - start)) $(soak_proc_figures "$pid") - $passes" | tee -a "$work/samples.txt"
  sleep "$INTERVAL_S"
done
soak_summary "$work/samples.txt" "$STARTUP_S"

# The figures past the start-up: growth from the first to the last, and the two halves' pass rates.
awk -v skip="$STARTUP_S" -v rss_bound="$RSS_GROWTH_KB" -v fall="$RATE_FALL" '
  $1 >= skip { n++; t[n] = $1; rss[n] = $2; threads[n] = $3; fds[n] = $4; passes[n] = $6 }
  END {
    if (rss[n] - rss[1] > rss_bound) { print "RSS grew by " rss[n] - rss[1] " kB"; bad = 1 }
    if (threads[n] > threads[1]) { print "threads grew from " threads[1] " to " threads[n]; bad = 1 }
    if (fds[n] > fds[1]) { print "open files grew from " fds[1] " to " fds[n]; bad = 1 }
    mid = int((n + 1) / 2)
    first = (passes[mid] - passes[1]) / (t[mid] - t[1]); second = (passes[n] - passes[mid]) / (t[n] - t[mid])
    printf "passes per second: %.1f, then %.1f\n", first, second
    if (second < first * (1 - fall)) { print "the pass rate fell by more than a tenth"; bad = 1 }
    exit bad
  }' "$work/samples.txt" || fail "the saver did not stay flat"
echo "soak: passed"
