#!/usr/bin/env bash
# What kovaren costs on X11: CPU of the program plus the X server (Xvfb) over 10-second readings at
# 1920x1080, full screen, with 101 and 501 leaves, beside a plain loop that sends the whole frame
# with XPutImage at the same 60 passes per second, and beside the X server alone; in alternating
# rounds, each reading on a fresh server, WARM_S (30) seconds after the program started: the leaves
# come in from above, and by then nearly all of them are on the screen, the busiest time. Medians
# in per cent of one core. A measuring program, not a test: it asserts nothing. After building the
# target kovaren:
#
#   bench/x11_cpu.sh [--baseline KOVAREN | --baseline-rev REV] [ROUNDS]   (default 3: about 13 minutes, 17 with a baseline)
#
# WAYS picks what is measured (default: idle kovaren-101 kovaren-501 replay-101 replay-501 full-frame,
# with baseline-101 and baseline-501 after idle when there is a baseline).
# baseline-N: another kovaren (--baseline: that program; --baseline-rev: this tree's kovaren at
# revision REV, built in a temporary folder like this build), measured in the same rounds, so the
# two compare under the same load. replay-N: kovaren's own rectangles for N leaves, worked out in
# advance and handed to kovaren's presenter by a client that draws nothing (bench_present_loops_x11):
# the X server's share of kovaren's picture; it also says how many leaves are on the screen at the
# reading (kovaren's own, for the same seed). replay-clipped-N and replay-grouped-N (not by default):
# the same rectangles as one clipped put a pass, or joined with their neighbours into boxes of a put
# each: the other ways kovaren could send them. full-frame: the same program sending the whole frame
# with XPutImage.
# DESKTOP=plain (default) shows a desktop of one colour, as a dark backdrop is; DESKTOP=picture a
# grid of lines, every row but one in 16 of two colours: the saver restores rows of one colour by a
# fill, other rows by copying them from its snapshot.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${KOVAREN_NATIVE_BUILD:-$root/build/native}
kovaren=$build/kovaren
loops=$build/bench_present_loops_x11
baseline= baseline_rev=
while [[ ${1:-} == --baseline* ]]; do
  case $1 in
    --baseline) baseline=$2 ;;
    --baseline-rev) baseline_rev=$2 ;;
    *) echo "unknown switch $1" >&2; exit 2 ;;
  esac
  shift 2
done
rounds=${1:-3}
SCREEN=${SCREEN:-1920x1080}
WINDOW_S=10
WARM_S=${WARM_S:-30}
DESKTOP=${DESKTOP:-plain}
case $DESKTOP in
  plain) desktop=(-solid '#3060a0') ;;
  picture) desktop=(-mod 16 16 -fg '#3060a0' -bg '#203050') ;;
  *) echo "DESKTOP is plain or picture" >&2; exit 2 ;;
esac
[[ -x $kovaren && -x $loops ]] || { echo "no $kovaren or $loops: build both targets" >&2; exit 2; }
work=$(mktemp -d "${TMPDIR:-/tmp}/kvb.XXXXXX")
pids=()
cleanup() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# The baseline built from a revision: its sources as committed, configured as this build is.
if [[ -n $baseline_rev ]]; then
  mkdir "$work/base-src"
  git -C "$root" archive "$baseline_rev" | tar -x -C "$work/base-src"
  build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$build/CMakeCache.txt" 2>/dev/null)
  echo "building kovaren at $baseline_rev (${build_type:-default} build)..." >&2
  cmake -S "$work/base-src" -B "$work/base-build" -G Ninja ${build_type:+-DCMAKE_BUILD_TYPE=$build_type} >/dev/null
  nice -n 10 ninja -C "$work/base-build" -j 2 kovaren >/dev/null
  baseline=$work/base-build/kovaren
fi
[[ -z $baseline || -x $baseline ]] || { echo "no baseline program $baseline" >&2; exit 2; }

# The ways measured (WAYS, default all), each by its command (idle: the X server alone).
default_ways="idle${baseline:+ baseline-101 baseline-501} kovaren-101 kovaren-501 replay-101 replay-501 full-frame"
read -r -a WAYS <<<"${WAYS:-$default_ways}"
command_of() {
  case $1 in
    idle) ;;
    baseline-101) echo "$baseline --fullscreen --count 100 --seed 1" ;;
    baseline-501) echo "$baseline --fullscreen --count 500 --seed 1" ;;
    kovaren-101) echo "$kovaren --fullscreen --count 100 --seed 1" ;;
    kovaren-501) echo "$kovaren --fullscreen --count 500 --seed 1" ;;
    replay-101) echo "$loops replay 100 1 $((WARM_S * 60))" ;;
    replay-501) echo "$loops replay 500 1 $((WARM_S * 60))" ;;
    replay-clipped-101) echo "$loops replay-clipped 100 1 $((WARM_S * 60))" ;;
    replay-clipped-501) echo "$loops replay-clipped 500 1 $((WARM_S * 60))" ;;
    replay-grouped-101) echo "$loops replay-grouped 100 1 $((WARM_S * 60))" ;;
    replay-grouped-501) echo "$loops replay-grouped 500 1 $((WARM_S * 60))" ;;
    full-frame) echo "$loops full-frame" ;;
  esac
}

# ticks PID: user + system clock ticks of a process (fields 14 and 15 of /proc/PID/stat).
source "$root/bench/cpu_ticks.sh"

# reading WAY: "program xserver" per mille of one core over WINDOW_S seconds, on a fresh X server.
reading() {
  local way=$1 xvfb program=
  Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 "${SCREEN}x24" 3>"$work/display" 2>/dev/null &
  xvfb=$!; pids+=($xvfb)
  local i
  for i in $(seq 200); do [[ -s $work/display ]] && break; sleep 0.05; done
  export DISPLAY=:$(head -1 "$work/display")
  xsetroot "${desktop[@]}"
  local command; command=$(command_of "$way")
  if [[ -n $command ]]; then
    $command >"$work/$way.out" 2>&1 &
    program=$!; pids+=($program)
  fi
  sleep "$WARM_S"
  per_mille_pair "$WINDOW_S" "$xvfb" "$program"
  [[ -z $program ]] || { kill "$program"; wait "$program" 2>/dev/null || true; }
  kill "$xvfb"; wait "$xvfb" 2>/dev/null || true
  rm -f "$work/display"
}

median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : int((v[NR / 2] + v[NR / 2 + 1]) / 2)}'; }
percent() { printf '%d.%d' $(($1 / 10)) $(($1 % 10)); }

for ((round = 1; round <= rounds; round++)); do
  for way in "${WAYS[@]}"; do echo "$way $(reading "$way")" >>"$work/readings"; done
done

echo "== readings, per mille of one core (program, X server), round after round"
awk '{printf "%s %s/%s%s", $1, $2, $3, (NR % n == 0) ? "\n" : "   "}' n=${#WAYS[@]} "$work/readings"
echo "== $SCREEN, $DESKTOP desktop, 60 passes a second: median % of one core over ${WINDOW_S} s, $rounds rounds, ${WARM_S} s after the start"
for out in "$work"/replay-*.out; do
  [[ -s $out ]] && echo "$(basename "$out" .out): $(head -1 "$out")"
done
printf '%-18s %8s %8s %8s %14s %12s\n' way program xserver total "of full-frame" "of baseline"
full_total=$(awk '$1 == "full-frame" {print $2 + $3}' "$work/readings" | median)
for way in "${WAYS[@]}"; do
  p=$(awk -v w="$way" '$1 == w {print $2}' "$work/readings" | median)
  x=$(awk -v w="$way" '$1 == w {print $3}' "$work/readings" | median)
  total=$(awk -v w="$way" '$1 == w {print $2 + $3}' "$work/readings" | median)
  base_total=$(awk -v w="baseline-${way##*-}" '$1 == w {print $2 + $3}' "$work/readings" | median)
  of_base=-
  [[ $way == kovaren-* && ${base_total:-0} -gt 0 ]] && of_base=$(awk -v t="$total" -v b="$base_total" 'BEGIN {printf "%.2f", t / b}')
  printf '%-18s %8s %8s %8s %13s%% %12s\n' "$way" "$(percent "$p")" "$(percent "$x")" "$(percent "$total")" \
    "$((full_total > 0 ? total * 100 / full_total : 0))" "$of_base"
done
