# Two monitors side by side for the saver tests. Xvfb cannot show Wine two monitors side by side; an X
# server with the dummy driver and two virtual outputs placed by xrandr can. Source it after harness.sh
# and kv_start, then:
#
#   kv_two_outputs 1024 768     # DUMMY0 primary on the right, DUMMY1 left of it; Wine restarted on it
#   kv_wine_screens             # the screens as Wine reports them to a program (screens_host.exe)
#   kv_wait_wine_screens "$(printf 'monitor 0 0 1024 768 primary\nvirtual 0 0 1024 768')" 10
#
# Sets KV_TWO_W and KV_TWO_H (the X screen: both monitors side by side) and KV_WIDE_DESKTOP_PNG (the
# known desktop on the primary, its mirror image on the other, as shown).

source "$(dirname "${BASH_SOURCE[0]}")/../kit/dummy_xorg.sh"

# kv_two_outputs MONITOR_W MONITOR_H : starts the X server with two outputs of that mode, shows the wide
# desktop across them and starts Wine afresh on it.
kv_two_outputs() {
  local monitor_w=$1 monitor_h=$2
  KV_TWO_W=$((2 * monitor_w))
  KV_TWO_H=$monitor_h
  [[ -x /usr/lib/xorg/Xorg && -f /usr/lib/xorg/modules/drivers/dummy_drv.so ]] ||
    kv_die "needs Xorg and its dummy driver (scripts/setup installs xserver-xorg-core, xserver-xorg-video-dummy)"
  local started=0
  dummy_xorg_start "$KV_TMP" $KV_TWO_W $KV_TWO_H || started=$?
  KV_PIDS+=("$DUMMY_XORG_PID")
  kv_remember_pids "$DUMMY_XORG_PID"
  ((started == 0)) || kv_die "Xorg did not start: $(tail -5 "$KV_TMP/xorg.log")"
  xrandr --output DUMMY0 --mode "${monitor_w}x${monitor_h}" --primary &&
    xrandr --addmode DUMMY1 "${monitor_w}x${monitor_h}" &&
    xrandr --output DUMMY1 --mode "${monitor_w}x${monitor_h}" --left-of DUMMY0 ||
    kv_die "xrandr could not place two outputs"
  kv_log "$(xrandr --listmonitors | tr '\n' ' ')"
  # Wine's own programs started on the first X server while the harness warmed the prefix up: start
  # Wine afresh on this one.
  wineserver -k
  wait "$KV_WINESERVER_PID" 2>/dev/null
  wineserver -f -p &
  KV_WINESERVER_PID=$!
  kv_remember_pids "$KV_WINESERVER_PID"
  wine cmd /c exit 0 >/dev/null 2>&1 </dev/null || kv_log "warning: the warm-up program failed"
  # 64-bit Wine reports only the primary until some client has asked the X server for its monitors
  # after Wine started.
  xrandr --listmonitors >/dev/null

  # The desktop over both: the known picture on the primary (right), its mirror image on the other.
  convert "$KV_DESKTOP_PNG" -flop "$KV_DESKTOP_PNG" +append -depth 8 "rgb:$KV_TMP/wide.rgb" ||
    kv_die "could not draw the wide desktop"
  "$KOVAREN_E2E_TEMPLATE/desktop_view" "$KV_TMP/wide.rgb" $KV_TWO_W $KV_TWO_H >"$KV_TMP/wide_view.log" 2>&1 &
  KV_PIDS+=("$!")
  kv_remember_pids "$!"
  local i
  for ((i = 0; i < 100; i++)); do
    [[ $(kv_screen_pixel 100 384) == "$(kv_desktop_colour 923 384)" ]] && break
    sleep 0.05
  done
  xdotool mousemove $((KV_TWO_W - 1)) $((KV_TWO_H - 1))
  KV_WIDE_DESKTOP_PNG=$KV_ARTIFACTS/wide_desktop.png
  kv_shot "$KV_WIDE_DESKTOP_PNG"
}

# kv_wine_screens : prints what screens_host.exe reports, lines sorted ("monitor X Y W H [primary]" per
# monitor, then "virtual X Y W H"); nothing when it failed.
kv_wine_screens() {
  local report=$KV_TMP/screens.txt
  rm -f "$report"
  kv_launch_exe "$KOVAREN_WIN_BUILD/screens_host.exe" "$(kv_windows_path "$report")"
  kv_wait_exit "$KV_PID" 10 && [[ $KV_EXIT_STATUS == 0 ]] && tr -d '\r' <"$report" | LC_ALL=C sort
}

# kv_wait_wine_screens EXPECTED SECS : waits until kv_wine_screens prints EXPECTED (Wine follows a
# change of outputs within about a second, and only after a client asked for the monitors); prints
# the last report. Returns 1 on time-out.
kv_wait_wine_screens() {
  local expected=$1 secs=$2 now
  local deadline
  deadline=$(kv_deadline "$secs")
  while :; do
    xrandr --listmonitors >/dev/null
    now=$(kv_wine_screens)
    [[ $now == "$expected" ]] && { echo "$now"; return 0; }
    kv_before "$deadline" || { echo "$now"; return 1; }
    sleep 0.3
  done
}

# kv_x_monitors : the X server's active monitors, "NAME X Y W H" (X screen coordinates) plus " primary"
# for the primary, one a line in xrandr's order.
kv_x_monitors() {
  xrandr --listmonitors | sed -n 's|^ *[0-9]*: +\(\*\?\)\([^ ]*\) \([0-9]*\)/[0-9]*x\([0-9]*\)/[0-9]*+\([0-9]*\)+\([0-9]*\).*|\2 \5 \6 \3 \4 \1|p' |
    sed 's/ \*$/ primary/; s/ $//'
}

# kv_wine_screens_of_x : what kv_wine_screens should print for the X server's monitors as they are now:
# Wine puts the primary's top-left corner at 0,0.
kv_wine_screens_of_x() {
  kv_x_monitors | awk '
    { name[NR] = $1; x[NR] = $2; y[NR] = $3; w[NR] = $4; h[NR] = $5; p[NR] = ($6 == "primary") }
    p[NR] { px = $2; py = $3 }
    END {
      for (i = 1; i <= NR; i++) {
        l = x[i] - px; t = y[i] - py
        printf "monitor %d %d %d %d%s\n", l, t, w[i], h[i], p[i] ? " primary" : ""
        if (i == 1 || l < minx) minx = l
        if (i == 1 || t < miny) miny = t
        if (i == 1 || l + w[i] > maxx) maxx = l + w[i]
        if (i == 1 || t + h[i] > maxy) maxy = t + h[i]
      }
      printf "virtual %d %d %d %d\n", minx, miny, maxx - minx, maxy - miny
    }' | LC_ALL=C sort
}

# kv_check_wine_sees_x : checks that Wine reports the X server's monitors as they are (waiting up to
# 10 s); false when it does not. Without the X extensions' libraries of its own architecture Wine sees
# one monitor the size of the X screen, and no check of two monitors could tell.
kv_check_wine_sees_x() {
  local expected screens
  expected=$(kv_wine_screens_of_x)
  screens=$(kv_wait_wine_screens "$expected" 10)
  kv_check "Wine reports the monitors as the X server has them: $(tr '\n' ';' <<<"$screens")" \
    test "$screens" = "$expected"
  [[ $screens == "$expected" ]]
}
