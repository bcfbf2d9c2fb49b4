#!/usr/bin/env bash
# Two monitors side by side, the second left of the primary (so the virtual screen starts at a negative
# x): the saver's window covers both, the first picture is the desktop exactly as it was on both, and
# leaves of the three pure colours fall on each. Xvfb cannot show Wine two monitors side by side; an
# X server with the dummy driver and two virtual outputs placed by xrandr can.
set -u
source "$KOVAREN_SOURCE_DIR/tests/e2e/harness.sh"
kv_start

MONITOR_W=1024
MONITOR_H=768
W=$((2 * MONITOR_W))
H=$MONITOR_H

# An X server with two outputs for Wine to show its programs on.
[[ -x /usr/lib/xorg/Xorg && -f /usr/lib/xorg/modules/drivers/dummy_drv.so ]] ||
  kv_die "needs Xorg and its dummy driver (scripts/setup installs xserver-xorg-core, xserver-xorg-video-dummy)"
cat >"$KV_TMP/xorg.conf" <<'EOF'
Section "ServerFlags"
  Option "AutoAddDevices" "false"
EndSection
Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 65536
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0-1000.0
  VertRefresh 5.0-200.0
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Virtual 2048 768
  EndSubSection
EndSection
EOF
mkfifo "$KV_TMP/xorg.displayfd"
/usr/lib/xorg/Xorg -displayfd 3 -config "$KV_TMP/xorg.conf" -logfile "$KV_TMP/xorg.log" -noreset -nolisten tcp \
  3>"$KV_TMP/xorg.displayfd" >"$KV_TMP/xorg.out" 2>&1 &
xorg_pid=$!
KV_PIDS+=("$xorg_pid")
kv_remember_pids "$xorg_pid"
read -r -t 15 number <"$KV_TMP/xorg.displayfd" || kv_die "Xorg did not start: $(tail -5 "$KV_TMP/xorg.log")"
export DISPLAY=:$number
xrandr --output DUMMY0 --mode ${MONITOR_W}x${MONITOR_H} --primary &&
  xrandr --addmode DUMMY1 ${MONITOR_W}x${MONITOR_H} &&
  xrandr --output DUMMY1 --mode ${MONITOR_W}x${MONITOR_H} --left-of DUMMY0 ||
  kv_die "xrandr could not place two outputs"
monitors=$(xrandr --listmonitors | tr '\n' ' ')
kv_log "$monitors"
# Wine's own programs started on the first X server while the harness warmed the prefix up: start
# Wine afresh on this one.
wineserver -k
wait "$KV_WINESERVER_PID" 2>/dev/null
wineserver -f -p &
KV_WINESERVER_PID=$!
kv_remember_pids "$KV_WINESERVER_PID"
wine cmd /c exit 0 >/dev/null 2>&1 </dev/null || kv_log "warning: the warm-up program failed"

# The desktop over both: the known picture on the primary (right), its mirror image on the other.
convert "$KV_DESKTOP_PNG" -flop "$KV_DESKTOP_PNG" +append -depth 8 "rgb:$KV_TMP/wide.rgb" ||
  kv_die "could not draw the wide desktop"
"$KOVAREN_E2E_TEMPLATE/desktop_view" "$KV_TMP/wide.rgb" $W $H >"$KV_TMP/wide_view.log" 2>&1 &
KV_PIDS+=("$!")
kv_remember_pids "$!"
for ((i = 0; i < 100; i++)); do
  [[ $(kv_screen_pixel 100 384) == "$(kv_desktop_colour 923 384)" ]] && break
  sleep 0.05
done
xdotool mousemove $((W - 1)) $((H - 1))
desktop=$KV_ARTIFACTS/wide_desktop.png
kv_shot "$desktop"

# halves REF SHOT : "key=value" lines for each half (left, right) of SHOT against REF: changed pixels,
# those not a pure leaf colour (foreign), and those below row 48 (below_top; a respawned leaf enters
# at the top edge).
halves() {
  kv_python "$@" <<'PY'
import sys
from shots import load, LEAF_COLOURS
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
kv_launch /s
pid=$KV_PID
win=$(kv_wait_window Tesmar_Main 15)
kv_check "a window Tesmar_Main appears" test -n "$win"
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
