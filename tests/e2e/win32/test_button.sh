#!/usr/bin/env bash
# The skinned button under Wine, in a small host window (tests/e2e/win32/hosts/button_host.cpp): hovering
# shows the orange rim, leaving brings Normal back at the next 100 ms poll, a click raises exactly one
# Click, a press dragged off (and back) raises none, Enter does nothing, Tab moves the focus ring.
set -u
source "$KOVAREN_SOURCE_DIR/tests/e2e/win32/harness.sh"
kv_start

log=$KV_ARTIFACTS/clicks.log
kv_launch_exe "$KOVAREN_WIN_BUILD/button_host.exe" --scr "$(kv_windows_path "$KV_APP_DIR/Kovaren.scr")" --log "$(kv_windows_path "$log")"
kv_check "the host window appears" kv_wait_window "Kovaren button host" 20 >/dev/null
for _ in $(seq 50); do grep -q ready "$log" 2>/dev/null && break; sleep 0.1; done
kv_check "the host made both buttons with their skins" grep -qx ready "$log"

# Screen places: host at (100, 100); "設定" 81 x 25 at (120, 120); "..." 29 x 21 at (220, 122);
# the disabled "無効" 81 x 25 at (280, 160).
# Probes sit on the bottom ring row (skin row 22), whose colour tells the looks apart.
set_x=160 set_y=142 browse_x=234 browse_y=140
declare -A look=([normal]="214 208 197" [highlight]="229 151 0" [selected]="105 130 238" [pressed]="0 60 116")
away() { kv_move 600 500; }
clicks() { grep -c "^click $1\$" "$log" 2>/dev/null || true; }
# look_is NAME X Y: the button's probe shows NAME (screenshot kept in the artifacts).
shot_no=0
look_is() {
  shot_no=$((shot_no + 1))
  local shot=$KV_ARTIFACTS/$(printf '%02d' $shot_no)_$1.png
  kv_shot "$shot"
  local got
  got=$(kv_pixel "$shot" "$2" "$3")
  [[ $got == "${look[$1]}" ]] || { echo "  expected $1 (${look[$1]}) at $2,$3, got $got" >&2; return 1; }
}
# wait_look NAME X Y MS: polls screenshots until NAME shows; prints the milliseconds it took.
wait_look() {
  local start=$(date +%s%N) deadline=$(( $(date +%s%N) + $4 * 1000000 ))
  while (( $(date +%s%N) < deadline )); do
    if [[ $(kv_screen_pixel "$2" "$3") == "${look[$1]}" ]]; then
      echo $(( ($(date +%s%N) - start) / 1000000 ))
      return 0
    fi
  done
  return 1
}
# The caption is drawn: dark text pixels inside the label's box of "設定".
caption_drawn() {
  local dark
  dark=$(convert "$1" -crop 60x13+130+125 -colorspace Gray -threshold 50% -format '%[fx:int(w*h*(1-mean))]' info:)
  echo "  caption pixels: $dark" >&2
  (( dark > 20 ))
}

away
sleep 0.3
kv_check "idle buttons show Normal" look_is normal $set_x $set_y
kv_check "the caption is drawn in the caption font" caption_drawn "$KV_ARTIFACTS/$(printf '%02d' $shot_no)_normal.png"

kv_move $set_x 130
kv_check "hovering shows the orange rim" wait_look highlight $set_x $set_y 1000 >/dev/null
look_is highlight $set_x $set_y >/dev/null
away
if ms=$(wait_look normal $set_x $set_y 1500); then
  echo "  Normal came back ${ms} ms after the pointer left (poll 100 ms, screenshot ~40 ms)"
  kv_check "leaving restores Normal within the poll (+ slack for the loaded machine)" test "$ms" -le 400
else
  kv_check "leaving restores Normal" false
fi

kv_click $set_x 130 1
sleep 0.4
kv_check "a click raises exactly one Click" test "$(clicks 101)" -eq 1
kv_check "after the click the focused, hovered button glows" look_is highlight $set_x $set_y
# Focused, pointer away: a move and a press that arrive together still make one Click.
away
wait_look selected $set_x $set_y 1000 >/dev/null
kv_click $set_x 130 1
sleep 0.4
kv_check "a quick move-and-click on the focused button raises one Click" test "$(clicks 101)" -eq 2

xdotool mousedown 1
kv_check "a held press shows Pressed" wait_look pressed $set_x $set_y 1000 >/dev/null
kv_move $set_x 400
kv_check "dragged off, the press shows Selected" wait_look selected $set_x $set_y 1000 >/dev/null
xdotool mouseup 1
sleep 0.3
kv_check "a release dragged off raises no Click" test "$(clicks 101)" -eq 2

kv_move $set_x 130
sleep 0.2
xdotool mousedown 1
sleep 0.2
kv_move $set_x 400
sleep 0.3
kv_move $set_x 130
sleep 0.3
kv_check "dragged back with the button held it stays Selected" look_is selected $set_x $set_y
xdotool mouseup 1
sleep 0.3
kv_check "a press dragged off and back raises no Click" test "$(clicks 101)" -eq 2

away
sleep 0.3
kv_key Return
kv_key space
sleep 0.3
kv_check "Enter and Space do nothing" test "$(clicks 101)" -eq 2
kv_key Tab
sleep 0.3
kv_check "Tab moves the focus ring to the next button" look_is selected $browse_x $browse_y
kv_check "the button left behind shows Normal" look_is normal $set_x $set_y

kv_move $browse_x 130
sleep 0.3
kv_click $browse_x 130 3
sleep 0.3
kv_check "a right-button release over the focused, hovered button raises Click" test "$(clicks 102)" -eq 1
# The disabled button: flat grey rim, greyed caption, deaf to the mouse.
disabled_caption_greyed() {
  local black grey
  black=$(convert "$1" -crop 60x13+290+165 +repage -fx 'r<0.2&&g<0.2&&b<0.2' -format '%[fx:int(w*h*mean)]' info:)
  grey=$(convert "$1" -crop 60x13+290+165 +repage -fx 'r>0.3&&r<0.75&&abs(g-r)<0.04&&abs(b-r)<0.04' -format '%[fx:int(w*h*mean)]' info:)
  echo "  disabled caption: $black black pixels, $grey grey pixels" >&2
  (( black == 0 && grey > 10 ))
}
look[disable]="201 199 186"
kv_move 320 172
sleep 0.3
kv_check "a disabled button shows Disable, hovered or not" look_is disable 320 183
kv_check "a disabled button's caption is greyed" disabled_caption_greyed "$KV_ARTIFACTS/$(printf '%02d' $shot_no)_disable.png"
kv_click 320 172 1
kv_click 320 172 3
sleep 0.3
kv_check "a disabled button raises no Click" test "$(clicks 103)" -eq 0
kv_finish
