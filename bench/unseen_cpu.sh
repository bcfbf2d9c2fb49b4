#!/usr/bin/env bash
# What the saver costs while nobody can see the screen, beside what it costs drawing: CPU of the
# program, the X server and wineserver over 10-second windows, in per cent of one core, for
#   drawing   the saver (Kovaren.scr /s) with its leaves, past start-up
#   off       the same saver after a delivered "display off" (power_host.exe, as the e2e tests do:
#             Wine never sends it)
#   paced     a program with the same window and pacing that runs no passes (present_host.exe paced)
# in alternating rounds, medians printed. A measuring program, not a test: it asserts nothing.
# After a Windows build and the e2e template (ctest -R e2e_win64_setup):
#
#   bench/unseen_cpu.sh [ROUNDS]     (default 3; about a minute a round)
#
# KOVAREN_WIN_ARCH (win64 default, or win32) picks the build; KOVAREN_UNSEEN_SCREEN the screen as
# WxH:LEAVES (default 1920x1080:101).
set -u
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
rounds=${1:-3}
source "$root/tests/e2e/kit/folders.sh"
for exe in Kovaren.scr power_host.exe present_host.exe; do
  [[ -f $KOVAREN_WIN_BUILD/$exe ]] || { echo "no $exe in $KOVAREN_WIN_BUILD: build it first" >&2; exit 2; }
done
IFS='x:' read -r screen_w screen_h leaves <<<"${KOVAREN_UNSEEN_SCREEN:-1920x1080:101}"
WINDOW_S=10  # seconds measured
WARM_S=8     # the saver's start-up and first leaves, not measured
SETTLE_S=1   # after a delivered message or a shown window

source "$root/tests/e2e/win32/harness.sh"
KV_SCREEN_W=$screen_w KV_SCREEN_H=$screen_h
kv_start
cp "$KOVAREN_WIN_BUILD/present_host.exe" "$KV_APP_DIR/"
results=$KV_TMP/results.txt
: >"$results"

# cpu_ticks PID... : utime + stime of each process (after the comm field of /proc/PID/stat), one a line.
cpu_ticks() {
  local pid
  for pid in "$@"; do sed 's/.*) //' "/proc/$pid/stat" | awk '{print $12 + $13}'; done
}

# record WAY PID : CPU per mille of one core of PID, the X server and wineserver over WINDOW_S
# seconds, appended to the results as "WAY program xserver wineserver".
record() {
  local way=$1 pids=("$2" "$KV_XVFB_PID" "$KV_WINESERVER_PID") before after t0 t1
  t0=$(date +%s%N); before=$(cpu_ticks "${pids[@]}")
  sleep "$WINDOW_S"
  t1=$(date +%s%N); after=$(cpu_ticks "${pids[@]}")
  paste <(echo "$before") <(echo "$after") |
    awk -v way="$way" -v hz="$(getconf CLK_TCK)" -v ms=$(((t1 - t0) / 1000000)) \
      '{ line = line " " int(($2 - $1) * 1000000 / hz / ms) } END { print way line }' >>"$results"
}

deliver() { kv_deliver "$@" || { echo "power_host $* failed" >&2; exit 1; }; }

kv_write_ini '[Section]' "もみじ= $((leaves - 1))"
for ((round = 1; round <= rounds; round++)); do
  kv_launch /s
  saver=$KV_PID
  kv_wait_window Tesmar_Main 30 >/dev/null || { echo "the saver did not show" >&2; exit 1; }
  sleep "$WARM_S"
  record drawing "$saver"
  deliver display off
  sleep "$SETTLE_S"
  record off "$saver"
  kv_key a
  kv_wait_exit "$saver" 10 || kill "$saver"

  kv_launch_exe "$KV_APP_DIR/present_host.exe" paced "$leaves" $((SETTLE_S + WINDOW_S + 30))
  paced=$KV_PID
  kv_wait_window present_host 30 >/dev/null || { echo "present_host did not show" >&2; exit 1; }
  sleep "$SETTLE_S"
  record paced "$paced"
  kv_key Escape
  kv_wait_exit "$paced" 10 || kill "$paced"
done

# column WAY N : the median of column N (2 program, 3 X server, 4 wineserver) over WAY's rounds.
column() {
  awk -v way="$1" -v n="$2" '$1 == way {print $n}' "$results" | sort -n |
    awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : int((v[NR / 2] + v[NR / 2 + 1]) / 2)}'
}
percent() { printf '%d.%d' $(($1 / 10)) $(($1 % 10)); }

echo "== ${screen_w}x${screen_h}, $leaves leaves, $KOVAREN_WIN_ARCH: median % of one core over ${WINDOW_S} s, $rounds rounds"
printf '%-8s %8s %8s %11s %8s\n' way program xserver wineserver total
for way in drawing off paced; do
  p=$(column $way 2) x=$(column $way 3) s=$(column $way 4)
  printf '%-8s %8s %8s %11s %8s\n' $way "$(percent "$p")" "$(percent "$x")" "$(percent "$s")" "$(percent $((p + x + s)))"
done
