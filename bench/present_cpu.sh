#!/usr/bin/env bash
# What presenting costs end to end under Wine: CPU of the program, the X server and wineserver over
# 10-second windows, for each way of presenting (present_host.exe) and for the plain whole-frame loop
# beside them, in alternating rounds, each starting with about half the leaves showing (as in a long
# run); medians printed in per cent of one core. Also the real saver once per screen, SAVER_WARM_S
# (40) seconds after it starts: at 1080p nearly every leaf is then on its first shown descent, its
# busiest time. A measuring program, not a test: it asserts nothing. After scripts/build:
#
#   bench/present_cpu.sh [ROUNDS]        (default 3; about 4 minutes a screen at 3 rounds)
#
# KOVAREN_WIN_ARCH (win64 default, or win32) picks the build; KOVAREN_PRESENT_SCREENS the screens as
# WxH@DPI:LEAVES (default: 1920x1080 with 101 and 501 leaves, 3840x2160 at 192 DPI with 101).
set -u
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
rounds=${1:-3}
source "$root/tests/e2e/kit/folders.sh"
[[ -f $KOVAREN_WIN_BUILD/present_host.exe ]] || { echo "no present_host.exe in $KOVAREN_WIN_BUILD: run scripts/build" >&2; exit 2; }

# The ways compared (present_host.exe's methods, and "saver" for Kovaren.scr itself, measured once a
# screen after its leaves have come): KOVAREN_PRESENT_WAYS, default all.
read -r -a WAYS <<<"${KOVAREN_PRESENT_WAYS:-whole box rects section groups saver}"
METHODS=()
for way in "${WAYS[@]}"; do [[ $way == saver ]] || METHODS+=("$way"); done
WINDOW_S=10  # seconds measured
SETTLE_S=3   # seconds after the window shows before measuring
SAVER_WARM_S=${SAVER_WARM_S:-40}  # the saver shows leaves only after their hidden first descent

# ticks PID : utime + stime of the process (fields 14 and 15 of /proc/PID/stat, after the comm field).
ticks() { sed 's/.*) //' "/proc/$1/stat" 2>/dev/null | awk '{print $12 + $13}'; }

# measure PID : prints "program xserver wineserver" CPU per mille of one core over WINDOW_S seconds.
measure() {
  local pid=$1 hz t0 t1 a0 b0 c0 a1 b1 c1
  hz=$(getconf CLK_TCK)
  t0=$(date +%s%N); a0=$(ticks "$pid"); b0=$(ticks "$KV_XVFB_PID"); c0=$(ticks "$KV_WINESERVER_PID")
  sleep "$WINDOW_S"
  t1=$(date +%s%N); a1=$(ticks "$pid"); b1=$(ticks "$KV_XVFB_PID"); c1=$(ticks "$KV_WINESERVER_PID")
  local wall=$(( (t1 - t0) / 1000000 ))  # ms
  echo "$(( (a1 - a0) * 1000000 / hz / wall )) $(( (b1 - b0) * 1000000 / hz / wall )) $(( (c1 - c0) * 1000000 / hz / wall ))"
}

median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : int((v[NR / 2] + v[NR / 2 + 1]) / 2)}'; }
percent() { printf '%d.%d' $(($1 / 10)) $(($1 % 10)); }

# One screen: W H DPI LEAFCOUNT, in a subshell of its own (the harness's world ends with it).
run_screen() (
  source "$root/tests/e2e/win32/harness.sh"
  KV_SCREEN_W=$1 KV_SCREEN_H=$2
  local dpi=$3 leaves=$4 results=$KOVAREN_NATIVE_BUILD/present-cpu.$1x$2.$4.txt
  kv_start
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  wine cmd /c exit 0 >/dev/null 2>&1  # the prefix's first program starts its services: not measured
  cp "$KOVAREN_WIN_BUILD/present_host.exe" "$KV_APP_DIR/"
  : >"$results"
  for ((round = 1; round <= rounds; round++)); do
    for method in "${METHODS[@]}"; do
      kv_launch_exe "$KV_APP_DIR/present_host.exe" "$method" "$leaves" $((SETTLE_S + WINDOW_S + 30))
      local pid=$KV_PID
      kv_wait_window present_host 30 >/dev/null || { echo "present_host did not show" >&2; exit 1; }
      sleep "$SETTLE_S"
      echo "$method $(measure "$pid")" >>"$results"
      kv_key Escape
      kv_wait_exit "$pid" 10 || kill "$pid"
    done
  done
  if [[ " ${WAYS[*]} " == *" saver "* ]]; then
    kv_write_ini '[Section]' "もみじ= $((leaves - 1))"
    kv_launch /s
    local pid=$KV_PID
    kv_wait_window Tesmar_Main 30 >/dev/null || { echo "the saver did not show" >&2; exit 1; }
    sleep "$SAVER_WARM_S"
    echo "saver $(measure "$pid")" >>"$results"
    kv_shot "$KV_ARTIFACTS/saver-$1x$2.png"
    kv_key a
    kv_wait_exit "$pid" 10 || kill "$pid"
  fi

  echo "== $1x$2 at $dpi DPI, $leaves leaves: median % of one core over ${WINDOW_S} s, $rounds rounds (saver: once, ${SAVER_WARM_S} s after its start)"
  printf '%-8s %8s %8s %11s %8s %12s\n' way program xserver wineserver total "vs whole"
  local whole_total=0
  for method in "${WAYS[@]}"; do
    local p x s
    p=$(awk -v m="$method" '$1 == m {print $2}' "$results" | median)
    x=$(awk -v m="$method" '$1 == m {print $3}' "$results" | median)
    s=$(awk -v m="$method" '$1 == m {print $4}' "$results" | median)
    local total=$((p + x + s))
    [[ $method == whole ]] && whole_total=$total
    printf '%-8s %8s %8s %11s %8s %11s%%\n' "$method" "$(percent "$p")" "$(percent "$x")" "$(percent "$s")" \
      "$(percent "$total")" "$((whole_total > 0 ? total * 100 / whole_total : 0))"
  done
)

for screen in ${KOVAREN_PRESENT_SCREENS:-1920x1080@96:101 1920x1080@96:501 3840x2160@192:101}; do
  IFS='x@:' read -r w h dpi leaves <<<"$screen"
  run_screen "$w" "$h" "$dpi" "$leaves"
done
