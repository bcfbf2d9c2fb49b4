#!/usr/bin/env bash
# The settings dialog as a user meets it: its place and looks (gradient, panel, Japanese texts, the
# buttons), what "設定" writes to a fresh settings file, "ｷｬﾝｾﾙ", Escape and the close box leaving the
# file as it was, and no saver or preview starting while it is open.
set -u
source "$KOVAREN_SOURCE_DIR/tests/e2e/win32/harness.sh"
source "$KOVAREN_SOURCE_DIR/tests/e2e/win32/dialog_driver.sh"
kv_start

INI=$KV_APP_DIR/Kovaren.ini

pixel_is() { test "$(kv_pixel "$1" "$2" "$3")" == "$4"; }
# a grey metal pixel of the panel strip: every channel in 160..224, channels within 12 of each other
is_metal() {
  local r g b
  read -r r g b <<<"$(kv_pixel "$1" "$2" "$3")"
  ((r >= 160 && r <= 224 && g >= 160 && g <= 224 && b >= 160 && b <= 224 && r - b <= 12 && b - r <= 12))
}
ini_bytes() { od -An -tx1 -v "$INI" | tr -s ' \n' ' '; }

# --- Looks and place, for both forms of the switch -------------------------------------------------
kv_move 700 600
for switch in /c /c:1234; do
  kv_check "$switch shows the dialog" open_dialog "$switch"
  kv_check "$switch: the window is centred across and one third down" \
    test "$WX $WY" == "$(((KV_SCREEN_W - WW) / 2)) $(((KV_SCREEN_H - WH) / 3))"
  kv_check "$switch: the frame holds a 460 x 214 client area" \
    test $((WW - CLIENT_W)) -ge 0 -a $(((WW - CLIENT_W) % 2)) -eq 0 -a $((WH - CLIENT_H)) -gt $((WW - CLIENT_W))
  shot=$KV_ARTIFACTS/dialog${switch//[:\/]/_}.png
  kv_shot "$shot"
  kv_check "$switch: client row 0 is RGB(0, 0, 30)" pixel_is "$shot" $((CX + 5)) "$CY" "0 0 30"
  kv_check "$switch: client row 107 is RGB(220, 220, 250) beside the panel" \
    pixel_is "$shot" $((CX + 5)) $((CY + 107)) "220 220 250"
  kv_check "$switch: row 107 is the same colour right of the panel" \
    pixel_is "$shot" $((CX + 452)) $((CY + 107)) "220 220 250"
  kv_check "$switch: the last client row is RGB(3, 3, 33)" \
    pixel_is "$shot" $((CX + 250)) $((CY + CLIENT_H - 1)) "3 3 33"
  kv_check "$switch: the panel shows brushed metal" is_metal "$shot" $((CX + 16 + 240)) $((CY + 16 + 100))
  kv_check "$switch: the panel's top-left corner is metal" is_metal "$shot" $((CX + 17)) $((CY + 17))
  kv_check "$switch: the gradient shows right above the panel" \
    test "$(kv_pixel "$shot" $((CX + 100)) $((CY + 15)))" != "$(kv_pixel "$shot" $((CX + 100)) $((CY + 16)))"
  kv_key Escape "$WIN"
  kv_check "$switch: Escape closes the dialog and the program ends" kv_wait_exit "$DLG_PID" 5
done
kv_check "closing without saving writes no settings file" test ! -e "$INI"

# The texts as glyphs: crop the panel and the buttons for a person to look at, and check that each
# text's box holds dark (or, for the white credit line and address, white) pixels.
open_dialog /c
shot=$KV_ARTIFACTS/dialog_texts.png
kv_shot "$shot"
convert "$shot" -crop "${CLIENT_W}x${CLIENT_H}+$CX+$CY" +repage "$KV_ARTIFACTS/dialog_client.png"
has_ink() {  # FILE X Y W H COLOUR(dark|white)
  local count
  if [[ $6 == dark ]]; then
    count=$(convert "$1" -crop "$4x$5+$2+$3" +repage -colorspace gray -threshold 35% -negate -format '%[fx:int(mean*w*h+.5)]' info:)
  else
    count=$(convert "$1" -crop "$4x$5+$2+$3" +repage -colorspace gray -threshold 97% -format '%[fx:int(mean*w*h+.5)]' info:)
  fi
  ((count >= 8))
}
P=16
for box in "BGM:$((P + 8)):$((P + 12)):101:15" "音楽CD:$((P + 52)):$((P + 40)):43:13" \
  "無し:$((P + 52)):$((P + 60)):23:13" "MP3、WAV:$((P + 52)):$((P + 80)):60:13" \
  "曲目をﾘﾋﾟｰﾄ:$((P + 164)):$((P + 40)):66:13" "落葉の数:$((P + 280)):$((P + 12)):100:13" \
  "100:$((P + 364)):$((P + 40)):28:13" "設定:$((272 + 20)):$((160 + 4)):41:17" "ｷｬﾝｾﾙ:$((356 + 16)):$((160 + 4)):49:17"; do
  IFS=: read -r text x y w h <<<"$box"
  kv_check "the text $text is drawn" has_ink "$shot" $((CX + x)) $((CY + y)) "$w" "$h" dark
done
kv_check "the credit line is drawn in white" has_ink "$shot" $((CX + 16)) $((CY + 152)) 165 13 white
kv_check "the web address is drawn in white" has_ink "$shot" $((CX + 16)) $((CY + 168)) 219 13 white
kv_check "the option of a fresh start is none: its mark is blue" \
  test "$(kv_pixel "$shot" $((CX + P + 42)) $((CY + P + 66)) | awk '{print ($3 > $1 + 100)}')" == 1
kv_check "the audio CD mark is white" pixel_is "$shot" $((CX + P + 42)) $((CY + P + 46)) "255 255 255"

# --- While the dialog is open no saver and no preview can start ---------------------------------------
for switch in /s "/p 1234"; do
  # shellcheck disable=SC2086
  kv_launch $switch
  kv_check "'$switch' ends at once while the dialog is open" kv_wait_exit "$KV_PID" 3
done
kv_check "no saver window appeared" test -z "$(xdotool search --name '^Tesmar_Main$' 2>/dev/null)"
kv_check "the dialog is still open" kill -0 "$DLG_PID"

# --- "設定" on a fresh start writes exactly the four keys ---------------------------------------------
client_click $((272 + 40)) $((160 + 12))
kv_check "after 設定 the program ends" kv_wait_exit "$DLG_PID" 5
expected=$(printf '[Section]\r\nBGM\x8b\xe6\x95\xaa= 0\r\nBGM\xd8\xcb\xdf\xb0\xc4= 0\r\nBGM\xcc\xa7\xb2\xd9=\r\n\x82\xe0\x82\xdd\x82\xb6= 100\r\n' |
  od -An -tx1 -v | tr -s ' \n' ' ')
kv_check "the settings file holds exactly the four keys, in order, in code page 932" \
  test "$(ini_bytes)" == "$expected"
[[ "$(ini_bytes)" == "$expected" ]] || kv_log "written: $(ini_bytes)"

# --- "ｷｬﾝｾﾙ" and the close box leave an existing file byte for byte ----------------------------------
kv_write_ini "; kept" "[Other]" "a=1" "[Section]" "BGM区分= 1" "もみじ= 250" "unknown=x"
cp "$INI" "$KV_ARTIFACTS/before.ini"
open_dialog /c
client_click $((P + 52 + 10)) $((P + 80 + 6))   # select "MP3、WAV" (not to be saved)
client_click $((P + 280 + 70)) $((P + 36 + 8))  # move the scroll bar (not to be saved)
client_click $((356 + 40)) $((160 + 12))
kv_check "after ｷｬﾝｾﾙ the program ends" kv_wait_exit "$DLG_PID" 5
kv_check "ｷｬﾝｾﾙ leaves the settings file byte for byte" cmp -s "$INI" "$KV_ARTIFACTS/before.ini"

open_dialog /c
client_click $((P + 52 + 10)) $((P + 40 + 6))  # select "音楽CD" (not to be saved)
# The close box sits at the right end of the caption bar.
kv_click $((WX + WW - 12)) $((WY + (CY - WY) / 2))
kv_check "the close box ends the program" kv_wait_exit "$DLG_PID" 5
kv_check "the close box leaves the settings file byte for byte" cmp -s "$INI" "$KV_ARTIFACTS/before.ini"

kv_finish
