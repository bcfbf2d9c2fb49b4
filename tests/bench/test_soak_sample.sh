#!/usr/bin/env bash
# The soak's judgement of its samples, on made-up runs: what counts as growth or a falling pass rate
# (and what does not: the start-up, growth within the bound), and what the summary reports of a run:
# each figure's bounds past the start-up and every interval whose pass rate was off by more than 1 %.
set -u
source "$(dirname "$0")/../../bench/soak_sample.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/kvss.XXXXXX")
trap 'rm -rf "$work"' EXIT
failed=0
passed=0
STARTUP_S=20
RSS_BOUND_KB=2048
RATE_FALL=0.1

check() {
  local what=$1
  shift
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL: $what"; fi
}

# samples FILE RSS_STEP THREADS_END GDI_END RATE_LATE [DIP_AT DIP_RATE] : a run sampled every 10 s for
# 100 s, a start-up (0 and 10 s) far off the rest, then RSS growing by RSS_STEP kB a sample, 60 passes
# a second until 60 s and RATE_LATE after, DIP_RATE in the interval ending at DIP_AT; the last sample
# has THREADS_END threads and GDI_END GDI objects, the others 5 and 65. Ends with the bench's comment
# line for a saver that ended.
samples() {
  local file=$1 step=$2 threads_end=$3 gdi_end=$4 late=$5 dip_at=${6:--1} dip_rate=${7:-0}
  local t passes=0 rate rss threads gdi
  : >"$file"
  for t in $(seq 0 10 100); do
    rate=60; ((t > 60)) && rate=$late; ((t == dip_at)) && rate=$dip_rate
    ((t > 0)) && passes=$((passes + rate * 10))
    rss=$((t < STARTUP_S ? 90000 : 50000 + (t - STARTUP_S) / 10 * step))
    threads=5 gdi=65
    ((t == 100)) && threads=$threads_end gdi=$gdi_end
    echo "$t $rss $threads 15 $gdi $passes" >>"$file"
  done
  echo "# the saver ended after 101 s" >>"$file"
}

# name : RSS step : threads at end : GDI at end : late rate : flat : what it says
flat_cases=(
  "steady                 : 0   : 5 : 65 : 60 : 1 : passes per second: 60.0, then 60.0"
  "growth within bound    : 250 : 5 : 65 : 60 : 1 : passes per second"
  "memory leak            : 300 : 5 : 65 : 60 : 0 : RSS grew by 2400 kB"
  "one thread more        : 0   : 6 : 65 : 60 : 0 : threads grew from 5 to 6"
  "fewer threads          : 0   : 4 : 65 : 60 : 1 : passes per second"
  "a GDI object leaked    : 0   : 5 : 66 : 60 : 0 : GDI objects grew from 65 to 66"
  "rate a twentieth lower : 0   : 5 : 65 : 57 : 1 : then 57.0"
  "rate a sixth lower     : 0   : 5 : 65 : 50 : 0 : the pass rate fell by more than 10 %"
)
for row in "${flat_cases[@]}"; do
  IFS=: read -r name step threads gdi late flat says <<<"$row"
  read -r name <<<"$name"; read -r says <<<"$says"
  samples "$work/run.txt" $step $threads $gdi $late
  out=$(soak_check_flat "$work/run.txt" "$STARTUP_S" "$RSS_BOUND_KB" "$RATE_FALL")
  verdict=$?
  check "$name: flat is $flat (got exit $verdict)" test $((verdict == 0)) -eq $flat
  check "$name: says '$says' (said: $out)" grep -qF -- "$says" <<<"$out"
done

# Sample times to the millisecond are read as such, not dropped.
samples "$work/run.txt" 0 5 65 60
sed -i 's/^\([0-9]\+\) /\1.250 /' "$work/run.txt"
out=$(soak_check_flat "$work/run.txt" "$STARTUP_S" "$RSS_BOUND_KB" "$RATE_FALL")
check "times with milliseconds: judged (said: $out)" grep -qF "passes per second: 60.0, then 60.0" <<<"$out"
check "times with milliseconds: summarised" grep -q "within 1 % of 60 in 8 of 8" <<<"$(soak_summary "$work/run.txt" "$STARTUP_S" 60)"

# The summary: bounds past the start-up, and the intervals off the pass rate, each named.
samples "$work/run.txt" 100 5 65 60 40 57
summary=$(soak_summary "$work/run.txt" "$STARTUP_S" 60)
# what : a line the summary holds (blanks collapsed)
summary_cases=(
  "figure first last lowest highest slope per hour"
  "rss_kb 50000.0 50800.0 50000.0 50800.0 +36000.00"
  "threads 5.0 5.0 5.0 5.0 +0.00"
  "passes_per_s 60.0 60.0 57.0 60.0"
  "passes_per_s within 1 % of 60 in 7 of 8 intervals"
  "30-40 s: 57.0 (-5.0 %)"
)
squeezed=$(tr -s ' ' <<<"$summary" | sed 's/^ //')
for line in "${summary_cases[@]}"; do
  check "the summary holds '$line'" grep -qF -- "$line" <<<"$squeezed"
done
check "the summary names no interval within 1 %" test "$(grep -c ' s: ' <<<"$summary")" -eq 1
check "without a rate the summary judges no interval" \
  test -z "$(soak_summary "$work/run.txt" "$STARTUP_S" | grep 'within 1 %')"
((failed == 0)) || echo "$summary"
echo "$passed passed, $failed failed"
((failed == 0))
