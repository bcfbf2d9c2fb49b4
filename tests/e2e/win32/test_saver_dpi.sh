#!/usr/bin/env bash
# The saver on a 200 % screen: with LogPixels = 192 Wine reports 192 DPI, and the leaves are drawn at
# twice their size (every sprite pixel a 2 x 2 block on even coordinates), only in the three pure leaf
# colours, and they fall. The window still covers exactly the screen, and a key still ends it.
set -u
source "$KOVAREN_SOURCE_DIR/tests/e2e/win32/harness.sh"
kv_start

# leaf_blocks REF SHOT : prints "key=value" lines about the pixels of SHOT that differ from REF:
#   changed    how many
#   foreign    changed pixels that are not a pure leaf colour
#   broken     changed pixels whose 2 x 2 block (even x, even y) is not one colour: a leaf drawn at 1x,
#              or magnified by a blur, breaks blocks along its edges
#   widest     the widest run of leaf pixels in one row: a 1x leaf is at most 32 wide
#   rows       the lowest changed row (-1 when none)
leaf_blocks() {
  kv_python "$@" <<'PY'
import sys
from kit.shots import load, LEAF_COLOURS
w, h, ref = load(sys.argv[1])
_, _, shot = load(sys.argv[2])
colours = LEAF_COLOURS
def px(buf, x, y): return buf[(y * w + x) * 3:(y * w + x) * 3 + 3]
changed = foreign = broken = widest = 0
lowest = -1
for y in range(h):
    run = 0
    for x in range(w):
        p = px(shot, x, y)
        if p == px(ref, x, y):
            run = 0
            continue
        changed += 1
        lowest = y
        if p in colours:
            run += 1
            widest = max(widest, run)
        else:
            foreign += 1
            run = 0
        bx, by = x & ~1, y & ~1
        if any(px(shot, bx + dx, by + dy) != p for dx in (0, 1) for dy in (0, 1) if bx + dx < w and by + dy < h):
            broken += 1
print(f"changed={changed}\nforeign={foreign}\nbroken={broken}\nwidest={widest}\nlowest={lowest}")
PY
}

# Set before the program starts: Wine reads it at start-up.
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f >/dev/null 2>&1 ||
  kv_die "could not set LogPixels"
kv_write_ini '[Section]' 'もみじ= 500'  # many leaves, so the first shown descents come within seconds

kv_start_saver "a window Tesmar_Main appears at 192 DPI"
pid=$KV_SAVER_PID win=$KV_SAVER_WIN
geometry=$(kv_window_geometry "$win")
kv_check "the window covers the screen: $geometry" test "$geometry" = "0 0 $KV_SCREEN_W $KV_SCREEN_H"

# Wait for a good number of leaf pixels (leaves show after their hidden first descent).
found=0
for ((i = 0; i < 40; i++)); do
  kv_shot "$KV_ARTIFACTS/leaves.png"
  now=$(leaf_blocks "$KV_DESKTOP_PNG" "$KV_ARTIFACTS/leaves.png")
  if (($(kv_value_of changed "$now") > 3000)); then
    found=1
    break
  fi
  sleep 1
done
echo "leaves after ~${i} s: $(tr '\n' ' ' <<<"$now")"
kv_check "leaves show within 40 s" test "$found" = 1
kv_check "every changed pixel is a pure leaf colour" test "$(kv_value_of foreign "$now")" = 0
kv_check "every leaf pixel is a 2 x 2 block ($(kv_value_of broken "$now") are not)" test "$(kv_value_of broken "$now")" = 0
kv_check "leaves are wider than a 1x leaf can be (widest run $(kv_value_of widest "$now") > 32)" \
  test "$(kv_value_of widest "$now")" -gt 32

sleep 2
kv_shot "$KV_ARTIFACTS/later.png"
later=$(leaf_blocks "$KV_DESKTOP_PNG" "$KV_ARTIFACTS/later.png")
moved=$(compare -metric AE "$KV_ARTIFACTS/leaves.png" "$KV_ARTIFACTS/later.png" null: 2>&1 || true)
kv_check "the leaves move (${moved} pixels changed in 2 s)" test "${moved%%.*}" -gt 0
kv_check "still only 2 x 2 blocks of pure leaf colours 2 s later" \
  test "$(kv_value_of foreign "$later")" = 0 -a "$(kv_value_of broken "$later")" = 0

kv_key a
kv_check "a key ends the saver" kv_wait_exit "$pid" 5

kv_finish
