#!/usr/bin/env bash
# What kovaren costs on Wayland: CPU of the program plus the compositor (headless sway, pixman) over
# 10-second readings at 1920x1080 with 101 and 501 leaves, beside a client that damages its whole
# surface every pass at the same 60 passes a second through kovaren's own surface code
# (bench_full_frame_wayland), beside the same client damaging kovaren's own rectangles without
# drawing, beside it changing one small square, and beside sway alone; in alternating rounds under
# one sway, each reading WARM_S (30) seconds after the program started (by then nearly every leaf is
# on the screen). Medians in per cent of one core. A measuring program, not a test: it asserts nothing.
# After building the targets kovaren and bench_full_frame_wayland:
#
#   bench/wayland_cpu.sh [ROUNDS]        (default 3: about 10 minutes)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export KOVAREN_NATIVE_BUILD=${KOVAREN_NATIVE_BUILD:-$root/build/native}
full_frame_built=$KOVAREN_NATIVE_BUILD/bench_full_frame_wayland
[[ -x $full_frame_built ]] || { echo "no $full_frame_built: build it" >&2; exit 2; }
rounds=${1:-3}
WINDOW_S=10
WARM_S=${WARM_S:-30}
# The test harness: a private headless sway as an unprivileged user, kovaren copied for that user.
source "$root/tests/e2e/wayland/harness.sh"
cp "$full_frame_built" "$work/full_frame"
start_sway 1920x1080

# square-16: the same client changing a 16 x 16 square only, the compositor's cost per frame.
# replay-N: kovaren's own damage for N leaves from WARM_S on, over a picture that never changes: the
# compositor's share of showing kovaren's leaves, whoever draws them.
read -r -a WAYS <<<"${WAYS:-idle kovaren-101 kovaren-501 replay-101 replay-501 full-frame square-16}"
command_of() {
  case $1 in
    idle) ;;
    kovaren-101) echo "$kovaren --fullscreen --count 100 --seed 1" ;;
    kovaren-501) echo "$kovaren --fullscreen --count 500 --seed 1" ;;
    full-frame) echo "$work/full_frame" ;;
    square-16) echo "$work/full_frame 16" ;;
    replay-101) echo "$work/full_frame replay 100 1 $((WARM_S * 60))" ;;
    replay-501) echo "$work/full_frame replay 500 1 $((WARM_S * 60))" ;;
  esac
}

# ticks PID: user + system clock ticks of a process (fields 14 and 15 of /proc/PID/stat).
source "$root/bench/cpu_ticks.sh"

# reading WAY: "program compositor" per mille of one core over WINDOW_S seconds.
reading() {
  local way=$1 program= command
  command=$(command_of "$way")
  if [[ -n $command ]]; then
    # shellcheck disable=SC2086
    user_exec $command >/dev/null 2>&1 &
    program=$!; kv_track_pid "$program"
  fi
  sleep "$WARM_S"
  per_mille_pair "$WINDOW_S" "$sway_pid" "$program"
  [[ -z $program ]] || { kill "$program"; wait "$program" 2>/dev/null || true; }
  sleep 1  # the compositor settles before the next reading
}

median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : int((v[NR / 2] + v[NR / 2 + 1]) / 2)}'; }
percent() { printf '%d.%d' $(($1 / 10)) $(($1 % 10)); }

declare -A client_readings compositor_readings
for round in $(seq "$rounds"); do
  for way in "${WAYS[@]}"; do
    read -r c s < <(reading "$way")
    client_readings[$way]+="$c "
    compositor_readings[$way]+="$s "
    echo "round $round $way: client $(percent "$c") sway $(percent "$s")" >&2
  done
done

declare -A totals
for way in "${WAYS[@]}"; do
  c=$(tr ' ' '\n' <<<"${client_readings[$way]}" | grep . | median)
  s=$(tr ' ' '\n' <<<"${compositor_readings[$way]}" | grep . | median)
  totals[$way]=$((c + s))
  printf '%-12s client %5s  sway %5s  total %5s\n' "$way" "$(percent "$c")" "$(percent "$s")" "$(percent $((c + s)))"
done
if [[ -n ${totals[full-frame]:-} && ${totals[full-frame]} -gt 0 ]]; then
  for way in kovaren-101 kovaren-501; do
    [[ -n ${totals[$way]:-} ]] && echo "$way: $((totals[$way] * 100 / totals[full-frame])) % of the full-frame client"
  done
fi
