#!/usr/bin/env bash
# Two monitors side by side, the second left of the primary (so the virtual screen starts at a negative
# x): the saver's window covers both, the first picture is the desktop exactly as it was on both, and
# leaves of the three pure colours fall on each.
set -u
source "$KOVAREN_SOURCE_DIR/tests/e2e/win32/harness.sh"
source "$KOVAREN_SOURCE_DIR/tests/e2e/win32/two_outputs.sh"
kv_start

MONITOR_W=1024
MONITOR_H=768
W=$((2 * MONITOR_W))
H=$MONITOR_H

kv_two_outputs $MONITOR_W $MONITOR_H
desktop=$KV_WIDE_DESKTOP_PNG
# Without the X extensions' libraries of its own architecture Wine sees one monitor the size of the X
# screen, and the checks below could not tell.
expected=$(printf 'monitor -%d 0 %d %d\nmonitor 0 0 %d %d primary\nvirtual -%d 0 %d %d' \
  $MONITOR_W $MONITOR_W $MONITOR_H $MONITOR_W $MONITOR_H $MONITOR_W $W $H)
screens=$(kv_wait_wine_screens "$expected" 10)
kv_check "Wine reports both monitors side by side: $(tr '\n' ';' <<<"$screens")" test "$screens" = "$expected"

# halves REF SHOT : "key=value" lines for each half (left, right) of SHOT against REF: changed pixels,
# those not a pure leaf colour (foreign), and those below row 48 (below_top; a respawned leaf enters
# at the top edge).
halves() {
  kv_python "$@" <<'PY'
import sys
from kit.shots import load, LEAF_COLOURS
w, h, ref = load(sys.argv[1])
sw, sh, shot = load(sys.argv[2])
if (sw, sh) != (w, h):
    print("size_mismatch=1"); sys.exit(0)
colours = LEAF_COLOURS
counts = {f"{side}_{k}": 0 for side in ("left", "right") for k in ("changed", "foreign", "below_top")}
for y in range(h):
    row = slice(y * w * 3, (y + 1) * w * 3)
    if ref[row] == shot[row]: continue
    for x in range(w):
        i = (y * w + x) * 3
        p = shot[i:i + 3]
        if p == ref[i:i + 3]: continue
        side = "left" if x < w // 2 else "right"
        counts[f"{side}_changed"] += 1
        if p not in colours: counts[f"{side}_foreign"] += 1
        if y >= 48: counts[f"{side}_below_top"] += 1
for k, v in counts.items(): print(f"{k}={v}")
PY
}

kv_write_ini '[Section]' 'もみじ= 500'
kv_start_saver "a window Tesmar_Main appears" 15
pid=$KV_SAVER_PID win=$KV_SAVER_WIN
kv_shot "$KV_ARTIFACTS/first.png"
geometry=$(kv_window_geometry "$win")
kv_check "the window covers both monitors: $geometry, screen ${W}x${H}" test "$geometry" = "0 0 $W $H"

first=$(halves "$desktop" "$KV_ARTIFACTS/first.png")
echo "first screenshot: $(tr '\n' ' ' <<<"$first")"
kv_check "at first both monitors show the desktop as it was (below the top rows)" \
  test "$(kv_value_of left_below_top "$first")" = 0 -a "$(kv_value_of right_below_top "$first")" = 0
kv_check "at first nothing but leaves over the desktop" \
  test "$(kv_value_of left_foreign "$first")" = 0 -a "$(kv_value_of right_foreign "$first")" = 0

both=0
for ((i = 0; i < 30; i++)); do
  kv_shot "$KV_ARTIFACTS/leaves.png"
  now=$(halves "$desktop" "$KV_ARTIFACTS/leaves.png")
  if (($(kv_value_of left_changed "$now") > 500 && $(kv_value_of right_changed "$now") > 500)); then
    both=1
    break
  fi
  sleep 1
done
echo "leaves after ~${i} s: $(tr '\n' ' ' <<<"$now")"
kv_check "leaves fall on both monitors within 30 s" test "$both" = 1
kv_check "every changed pixel on both is a pure leaf colour" \
  test "$(kv_value_of left_foreign "$now")" = 0 -a "$(kv_value_of right_foreign "$now")" = 0

kv_key a
kv_check "a key ends the saver" kv_wait_exit "$pid" 5

kv_finish
