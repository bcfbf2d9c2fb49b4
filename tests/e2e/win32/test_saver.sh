#!/usr/bin/env bash
# The full-screen saver as a user sees it: "/s" covers the screen with the desktop exactly as it was,
# leaves of the three colours fall in the middle band, moving the mouse changes nothing, a key ends it.
set -u
source "$KOVAREN_SOURCE_DIR/tests/e2e/win32/harness.sh"
kv_start

# Compares screenshots with the reference desktop: saver_compare REF TOP SHOT [SHOT...]. Prints
# "key=value" lines about the last shot:
#   changed      pixels that differ from the desktop
#   foreign      changed pixels that are not a pure leaf colour (a tint, a border, garbage)
#   below_top    changed pixels at row TOP or below (a respawned leaf enters at the top edge)
#   red yellow green   changed pixels of each leaf colour
#   min_x        leftmost changed column (-1 when none)
#   stuck        changed pixels equal in every shot given: leaves fall at least half a pixel a pass,
#                so over shots seconds apart only a leftover of an old frame stays put
saver_compare() {
  kv_python "$@" <<'PY'
import sys
from kit.shots import load, LEAF_COLOURS
w, h, ref = load(sys.argv[1])
top = int(sys.argv[2])
shots = [load(p) for p in sys.argv[3:]]
if any((sw, sh) != (w, h) for sw, sh, _ in shots):
    print("size_mismatch=1"); sys.exit(0)
shot = shots[-1][2]
others = [s[2] for s in shots[:-1]]
colours = LEAF_COLOURS
counts = dict(changed=0, foreign=0, below_top=0, red=0, yellow=0, green=0, stuck=0)
min_x = -1
stride = w * 3
for y in range(h):
    row = slice(y * stride, (y + 1) * stride)
    a, b = ref[row], shot[row]
    if a == b: continue
    for x in range(w):
        px = slice(x * 3, x * 3 + 3)
        p = b[px]
        if p == a[px]: continue
        counts["changed"] += 1
        if y >= top: counts["below_top"] += 1
        name = colours.get(p)
        if name: counts[name] += 1
        else: counts["foreign"] += 1
        if min_x < 0 or x < min_x: min_x = x
        if others and all(o[row][px] == p for o in others): counts["stuck"] += 1
for k, v in counts.items(): print(f"{k}={v}")
print(f"min_x={min_x}")
PY
}


# 500 leaves (501 on screen in the long run) so the first shown descents arrive within seconds.
kv_write_ini '[Section]' 'もみじ= 500'

W=$KV_SCREEN_W
H=$KV_SCREEN_H

kv_start_saver "a window Tesmar_Main appears"
SAVER_PID=$KV_SAVER_PID win=$KV_SAVER_WIN
kv_shot "$KV_ARTIFACTS/first.png"

geometry=$(kv_window_geometry "$win")
kv_check "the window covers the screen: $geometry, screen ${W}x${H}" test "$geometry" = "0 0 $W $H"

# Right after it shows, the screen is the desktop as it was: no tint, no border, at most leaves that
# have just entered at the top edge (a respawned leaf starts 10 rows above the screen).
first=$(saver_compare "$KV_DESKTOP_PNG" 48 "$KV_ARTIFACTS/first.png")
echo "first screenshot: $(tr '\n' ' ' <<<"$first")"
kv_check "the first screenshot shows the desktop unchanged below the top rows" \
  test "$(kv_value_of below_top "$first")" = 0
kv_check "the first screenshot has no changed pixel that is not a leaf colour" \
  test "$(kv_value_of foreign "$first")" = 0

# Within 30 s leaves of all three colours show, all in the band the sway allows.
band_left=$(( 3 * W / 8 - 275 ))
seen_all=0
for ((i = 0; i < 30; i++)); do
  kv_shot "$KV_ARTIFACTS/leaves.png"
  now=$(saver_compare "$KV_DESKTOP_PNG" 0 "$KV_ARTIFACTS/leaves.png")
  if (($(kv_value_of red "$now") > 0 && $(kv_value_of yellow "$now") > 0 && $(kv_value_of green "$now") > 0)); then
    seen_all=1
    break
  fi
  sleep 1
done
echo "leaves screenshot after ~${i} s: $(tr '\n' ' ' <<<"$now")"
kv_check "leaves of the three pure colours show within 30 s" test "$seen_all" = 1
kv_check "every changed pixel is a pure leaf colour (opaque leaves, no tint)" test "$(kv_value_of foreign "$now")" = 0
kv_check "no leaf left of 3W/8 - 275 = $band_left" test "$(kv_value_of min_x "$now")" -ge "$band_left"

# No trails: every old place of a leaf is given back to the desktop on screen. Leaves fall at least
# 30 pixels a second, so across six screenshots a second apart a real leaf never covers the same pixel
# with the same colour; a fragment of an old frame left on screen does. (With fewer shots, different
# leaves of the crowded first descents do coincide now and then.)
trail_shots=()
for k in 1 2 3 4 5 6; do
  ((k > 1)) && sleep 1
  kv_shot "$KV_ARTIFACTS/trails$k.png"
  trail_shots+=("$KV_ARTIFACTS/trails$k.png")
done
trails=$(saver_compare "$KV_DESKTOP_PNG" 0 "${trail_shots[@]}")
echo "trail screenshots: $(tr '\n' ' ' <<<"$trails")"
kv_check "no trails: $(kv_value_of stuck "$trails") leaf pixels stayed put for 5 s (at most 4)" \
  test "$(kv_value_of stuck "$trails")" -le 4
kv_check "no trails: still nothing but leaves over the desktop" test "$(kv_value_of foreign "$trails")" = 0

# The leaves move: two screenshots a second apart differ.
sleep 1
kv_shot "$KV_ARTIFACTS/later.png"
moved=$(compare -metric AE "$KV_ARTIFACTS/leaves.png" "$KV_ARTIFACTS/later.png" null: 2>&1 || true)
kv_check "the leaves move (${moved} pixels changed in about a second)" test "${moved%%.*}" -gt 0 2>/dev/null

# Moving the mouse does nothing: the saver keeps running.
kv_move 200 200
kv_move 700 500
kv_move 10 10
sleep 1
kv_check "moving the mouse leaves the saver running" kill -0 "$SAVER_PID"
kv_check "the window is still there after the mouse moved" test -n "$(xdotool search --name '^Tesmar_Main$' 2>/dev/null)"
kv_shot "$KV_ARTIFACTS/moved.png"
moved=$(saver_compare "$KV_DESKTOP_PNG" 0 "$KV_ARTIFACTS/moved.png")
kv_check "after the mouse moved the screen is still the desktop with leaves" test "$(kv_value_of foreign "$moved")" = 0

# A key ends it within a second (real input goes to the focused window, so no target window here).
kv_key a
kv_check "a key ends the saver process within 1 s" kv_wait_exit "$SAVER_PID" 1

kv_finish
