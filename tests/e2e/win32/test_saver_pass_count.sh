#!/usr/bin/env bash
# A soak run asks the saver for its pass count from outside (pass_count_host.exe): without a saver the
# question fails and says why; with one, the count grows at the pass rate while the screen is seen and
# stands still while nobody sees it, and being asked again and again is not input: the saver goes on.
set -u
source "$KOVAREN_SOURCE_DIR/tests/e2e/win32/harness.sh"
kv_start
SPAN_S=4
ASKS_BEFORE_SPANS=6  # asked in a burst too, as a sampler running late would

# rate_over SECS : the passes a second between two answers SECS apart (e.g. 59.8); "none" when the saver
# did not answer.
rate_over() {
  local c0 c1 t0 t1
  c0=$(kv_pass_count) || { echo none; return; }
  t0=$(date +%s%N)
  sleep "$1"
  c1=$(kv_pass_count) || { echo none; return; }
  t1=$(date +%s%N)
  awk -v c0="$c0" -v c1="$c1" -v ns=$((t1 - t0)) 'BEGIN { printf "%.1f", (c1 - c0) * 1e9 / ns }'
}

# between VALUE LOW HIGH : true when LOW <= VALUE <= HIGH (decimals).
between() { [[ $1 != none ]] && awk -v v="$1" -v lo="$2" -v hi="$3" 'BEGIN { exit !(v >= lo && v <= hi) }'; }

kv_check "no saver: the question fails" test -z "$(kv_pass_count)"
kv_check "no saver: the host says why" grep -q 'no saver window' "$KV_ARTIFACTS/pass_count.log"

kv_write_ini '[Section]' 'もみじ= 100'  # 101 leaves
kv_start_saver "the saver shows"
saver=$KV_SAVER_PID
sleep 3  # past the start-up
for i in $(seq "$ASKS_BEFORE_SPANS"); do kv_pass_count >/dev/null; done

# what : what is delivered first (power_host arguments, "-" for nothing) : lowest and highest rate.
# The pass rate is 60 a second; a span's ends are read by a program that takes a fraction of a
# second to start, so the bounds allow for that (and for a loaded machine's late passes).
cases=(
  "screen seen         : -           : 48 : 66"
  "display off         : display off : 0  : 0.5"
  "display on again    : display on  : 48 : 66"
  "dimmed (still seen) : display dimmed : 48 : 66"
)
for row in "${cases[@]}"; do
  IFS=: read -r what delivery low high <<<"$row"
  read -r what <<<"$what"; read -r delivery <<<"$delivery"; read -r low <<<"$low"; read -r high <<<"$high"
  [[ $delivery == - ]] || { kv_check "$what: delivered" kv_deliver $delivery; sleep 0.5; }
  rate=$(rate_over "$SPAN_S")
  kv_check "$what: $rate passes a second, within $low..$high" between "$rate" $low $high
done

kv_check "asked $((ASKS_BEFORE_SPANS + 2 * ${#cases[@]})) times, the saver still runs" kill -0 "$saver"
kv_check "asked, its window still shows" test -n "$(kv_wait_window Tesmar_Main 1)"
kv_key a
kv_check "a key still ends it" kv_wait_exit "$saver" 5
kv_finish
