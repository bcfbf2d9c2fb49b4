#!/usr/bin/env bash
# The kit itself, as the suites rely on it: pixel checks tell leaves from anything else, waits tell a
# running process from an ended one without stealing its status, clean-up stops what was tracked (also
# under set -e), and a test killed outright still leaves no process or folder behind.
set -u
source "$(dirname "$0")/kit.sh"
kv_need Xvfb convert import
work=$(mktemp -d "${TMPDIR:-/tmp}/kvk.XXXXXX")
trap 'kv_stop_tracked; rm -rf "$work"' EXIT

# picture NAME FILL [X,Y COLOUR]... : a 40 x 30 picture in FILL with single pixels set.
picture() {
  local file=$work/$1.png fill=$2 draw=()
  shift 2
  while (($#)); do draw+=(-fill "$2" -draw "point ${1/,/ }"); shift 2; done
  convert -size 40x30 "xc:$fill" "${draw[@]}" -depth 8 "PNG24:$file"
}
picture desk '#3060a0'
picture leaf '#3060a0' 5,5 '#ff0000' 9,9 '#ffff00'
picture all '#3060a0' 5,5 '#ff0000' 9,9 '#ffff00' 20,20 '#80ff00'
picture tinted '#3060a0' 5,5 '#ff0000' 9,9 '#fe0000'
picture moved '#3060a0' 6,5 '#ff0000' 9,9 '#ffff00'
picture dark '#101010' 5,5 '#ff0000'
picture dark_desk '#101010' 5,5 '#ff0000' 7,7 '#3060a0'
picture bright '#808080' 5,5 '#ff0000'
picture dark_bare '#101010'

# check | pictures | holds
facts=(
  "same-under-leaves|desk desk|1"
  "same-under-leaves|desk leaf|1"
  "same-under-leaves|desk tinted|0"
  "leaves-over|desk leaf|1"
  "leaves-over|desk desk|0"
  "leaves-over|desk tinted|0"
  "all-colours-over|desk all|1"
  "all-colours-over|desk leaf|0"
  "moved|leaf moved|1"
  "moved|leaf leaf|0"
  "dark|dark|1"
  "dark|dark_desk|0"
  "dark|bright|0"
  "dark|dark_bare|0"
)
for row in "${facts[@]}"; do
  IFS='|' read -r check names holds <<<"$row"
  files=()
  for name in $names; do files+=("$work/$name.png"); done
  got=0
  kv_pixel_fact "$check" "${files[@]}" >/dev/null && got=1
  kv_check "$check of $names is $holds" test "$got" == "$holds"
done
kv_check "kv_pixel reads one pixel" test "$(kv_pixel "$work/leaf.png" 9 9)" == "255 255 0"
kv_check "kv_same_picture: a picture equals itself" kv_same_picture "$work/leaf.png" "$work/leaf.png" >/dev/null
kv_check "kv_same_picture: one pixel apart differs" test "$(kv_same_picture "$work/leaf.png" "$work/moved.png")" == 2

# Waits: a running process is not gone; an ended child is, and its status is still there to take.
sleep 5 &
sleeper=$!
kv_track_pid "$sleeper"
kv_wait_gone "$sleeper" 1
kv_check "a running process is not gone within 1 s" test $? == 1
(exit 3) &
short=$!
kv_wait_gone "$short" 2
gone=$?
wait "$short"
kv_check "an ended child is gone, and its status (3) is left for wait" test "$gone/$?" == "0/3"

# A wait's limit is real time: 1.5 s waited for something that never comes lasts 1.5 s (to the next
# look, and a loaded machine adds a little), however far into its second bash's SECONDS stands.
started=${EPOCHREALTIME/[.,]/}
KV_SHOT=true kv_shot_until 1.5 "$work/none.png" - false
waited_ms=$(((${EPOCHREALTIME/[.,]/} - started) / 1000))
kv_check "a 1.5 s wait lasts 1.5 s ($waited_ms ms)" test "$waited_ms" -ge 1500 -a "$waited_ms" -lt 2500

# A private X server answers on its display; clean-up under set -e stops it and the sleeper.
kv_start_xvfb 64x48 "$work"
kv_shot "$work/screen.png"
kv_check "Xvfb on $DISPLAY gives a 64 x 48 screenshot" test "$(identify -format '%wx%h' "$work/screen.png")" == 64x48
# (in this shell, which alone can reap its children; a stop that fails under set -e ends the test here)
set -e
kv_stop_tracked
set +e
kv_check "clean-up stopped the X server" bash -c '! kill -0 "$1" 2>/dev/null' _ "$KV_XVFB_PID"
kv_check "clean-up stopped the other process" bash -c '! kill -0 "$1" 2>/dev/null' _ "$sleeper"

# A test killed outright (SIGKILL, as a CTest time-out does): its watchdog stops the tracked process
# and removes its scratch folder.
victim=$work/victim
mkdir "$victim"
bash -c 'source "$1/kit.sh"; KV_PID_FILE=$2/pids; KV_SCRATCH=("$2/scratch"); mkdir "$2/scratch"
  kv_start_watchdog; sleep 60 & kv_track_pid $!; echo $! >"$2/child"; sleep 60' _ "$KV_KIT_DIR" "$victim" &
killed=$!
for _ in $(seq 100); do [[ -s $victim/child ]] && break; sleep 0.05; done
child=$(cat "$victim/child")
kill -KILL "$killed"
for _ in $(seq 50); do kill -0 "$child" 2>/dev/null || break; sleep 0.1; done
kv_check "the watchdog of a killed test stops its process" bash -c '! kill -0 "$1" 2>/dev/null' _ "$child"
for _ in $(seq 30); do [[ -d $victim/scratch ]] || break; sleep 0.1; done
kv_check "the watchdog of a killed test removes its scratch folder" test ! -d "$victim/scratch"

kv_finish
