#!/usr/bin/env bash
# Screens that change while the saver runs, on the two-output X server: an output switched off, then
# on again, then a new mode. Wine 8 follows such a change in what it reports but sends no
# WM_DISPLAYCHANGE, so the test waits until Wine reports the new layout and delivers the message itself
# (power_host.exe displaychange), as the system would. After each change the window covers every
# monitor, each shows leaves moving over what it should (a monitor that stayed keeps its snapshot, a
# new or changed one shows black), and the process lives. Ten changes in a row neither end it nor
# make it grow; a change while nobody sees the screen is shown when it is seen again.
set -u
source "$KOVAREN_SOURCE_DIR/tests/e2e/win32/harness.sh"
source "$KOVAREN_SOURCE_DIR/tests/e2e/win32/two_outputs.sh"
kv_start

MONITOR_W=1024
MONITOR_H=768
SMALL_MODE=800x600
# A pass moves every leaf; between two shots this far apart a monitor with leaves changes by far more.
MOTION_SECS=0.3
MIN_MOVED_PIXELS=100
# A leaked frame of one monitor is 3 MB; ten changes leaking one each would be far above this.
MAX_GROWTH_KB=8192

kv_two_outputs $MONITOR_W $MONITOR_H
kv_check_wine_sees_x || kv_finish
# Each monitor's part of the desktop as the saver's snapshot took it (the primary is on the right).
primary_still=$KV_ARTIFACTS/primary_still.png
left_still=$KV_ARTIFACTS/left_still.png
convert "$KV_WIDE_DESKTOP_PNG" -crop ${MONITOR_W}x${MONITOR_H}+${MONITOR_W}+0 +repage "$primary_still" &&
  convert "$KV_WIDE_DESKTOP_PNG" -crop ${MONITOR_W}x${MONITOR_H}+0+0 +repage "$left_still" ||
  kv_die "could not cut the desktop into monitors"

# monitors_report SHOT_A SHOT_B BACKGROUND:X:Y:W:H... : per monitor (X screen coordinates) a line
# "NAME changed=N foreign=N": pixels that differ between the shots, and pixels of SHOT_B that are
# neither the background (a picture of the monitor's size, or "black") nor a pure leaf colour.
monitors_report() {
  kv_python "$@" <<'PY'
import sys
from kit.shots import load, LEAF_COLOURS
w, h, a = load(sys.argv[1])
_, _, b = load(sys.argv[2])
for monitor in sys.argv[3:]:
    background, mx, my, mw, mh = monitor.rsplit(":", 4)
    mx, my, mw, mh = int(mx), int(my), int(mw), int(mh)
    if background == "black":
        bw, bg = mw, b"\0" * (mw * mh * 3)
    else:
        bw, _, bg = load(background)
    changed = foreign = 0
    for y in range(mh):
        row = slice(((my + y) * w + mx) * 3, ((my + y) * w + mx + mw) * 3)
        own = bg[y * bw * 3:(y * bw + mw) * 3]
        if a[row] != b[row]:
            changed += sum(a[row][i:i + 3] != b[row][i:i + 3] for i in range(0, mw * 3, 3))
        if b[row] != own:
            foreign += sum(b[row][i:i + 3] != own[i:i + 3] and b[row][i:i + 3] not in LEAF_COLOURS
                           for i in range(0, mw * 3, 3))
    print(f"{background.rsplit('/', 1)[-1]}@{mx},{my} changed={changed} foreign={foreign}")
PY
}

# x_bounds : "X Y W H" round every X monitor (what the saver's window should cover).
x_bounds() {
  kv_x_monitors | awk '{ if (NR == 1 || $2 < l) l = $2; if (NR == 1 || $3 < t) t = $3
                         if ($2 + $4 > r) r = $2 + $4; if ($3 + $5 > b) b = $3 + $5 }
                       END { print l, t, r - l, b - t }'
}

# change XRANDR_ARGS... : changes the outputs, waits until Wine reports them, delivers the display
# change; false when any step fails.
change() {
  xrandr "$@" || return 1
  local expected
  expected=$(kv_wine_screens_of_x)
  [[ $(kv_wait_wine_screens "$expected" 10) == "$expected" ]] || return 1
  kv_deliver displaychange
}

# after NAME BACKGROUND... : the checks after a change, one background per X monitor in xrandr's order
# ("black" or a picture): the window covers them all, each shows only leaves over its background with
# leaves moving (given a few seconds to settle), and the saver lives.
after() {
  local name=$1
  shift
  local backgrounds=("$@") expected=() i=0 report= ok=0 try x y w h
  while read -r _ x y w h _; do
    expected+=("${backgrounds[i]:-none}:$x:$y:$w:$h")
    i=$((i + 1))
  done < <(kv_x_monitors)
  kv_check "$name: $i monitors, as planned" test "$i" = $#
  kv_check "$name: the window covers every monitor ($(kv_window_geometry "$win") for $(x_bounds))" \
    test "$(kv_window_geometry "$win")" = "$(x_bounds)"
  for ((try = 0; try < 10 && !ok; try++)); do
    kv_shot "$KV_ARTIFACTS/$name-a.png"
    sleep $MOTION_SECS
    kv_shot "$KV_ARTIFACTS/$name-b.png"
    report=$(monitors_report "$KV_ARTIFACTS/$name-a.png" "$KV_ARTIFACTS/$name-b.png" "${expected[@]}")
    ok=1
    while read -r _ changed foreign; do
      ((${changed#*=} >= MIN_MOVED_PIXELS && ${foreign#*=} == 0)) || ok=0
    done <<<"$report"
  done
  echo "$name: $(tr '\n' ';' <<<"$report")"
  kv_check "$name: every monitor ($i) shows leaves moving over its own picture" test "$ok" = 1
  kv_check "$name: the saver lives" kill -0 "$saver"
}

rss_kb() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status"; }
open_files() { ls "/proc/$1/fd" | wc -l; }

kv_write_ini '[Section]' 'もみじ= 100'
kv_start_saver "the saver shows" 15
saver=$KV_SAVER_PID win=$KV_SAVER_WIN
# xrandr lists the primary first; its snapshot stays until the primary itself changes.
after start "$primary_still" "$left_still"

kv_check "the left output is switched off" change --output DUMMY1 --off
after off "$primary_still"
kv_check "the left output is switched on again" change --output DUMMY1 --mode ${MONITOR_W}x${MONITOR_H} --left-of DUMMY0
after on "$primary_still" black
kv_check "the primary gets a smaller mode" change --output DUMMY0 --mode $SMALL_MODE
after mode black black

# Ten changes in a row, back to the same layout: the saver lives and holds no more memory (give or take
# the heap's slack) or files than before. (Wine counts no GDI objects or handles per process:
# GetGuiResources and GetProcessHandleCount report 0 there.)
rss_before=$(rss_kb "$saver")
files_before=$(open_files "$saver")
changes_ok=1
for ((n = 0; n < 5; n++)); do
  change --output DUMMY1 --off || changes_ok=0
  change --output DUMMY1 --mode ${MONITOR_W}x${MONITOR_H} --left-of DUMMY0 || changes_ok=0
done
kv_check "ten changes in a row are delivered" test "$changes_ok" = 1
rss_after=$(rss_kb "$saver")
files_after=$(open_files "$saver")
echo "after ten changes: resident ${rss_before} -> ${rss_after} kB, open files ${files_before} -> ${files_after}"
after ten black black
kv_check "ten changes: memory grows by at most $MAX_GROWTH_KB kB" test $((rss_after - rss_before)) -le $MAX_GROWTH_KB
kv_check "ten changes: no more open files" test "$files_after" -le "$files_before"

# A change while nobody sees the screen: planned at once, shown whole when seen again.
kv_check "display off is delivered" kv_deliver display off
kv_check "unseen: the left output is switched off" change --output DUMMY1 --off
kv_check "display on is delivered" kv_deliver display on
after unseen black

kv_key a
kv_check "a key ends the saver" kv_wait_exit "$saver" 5
kv_finish
