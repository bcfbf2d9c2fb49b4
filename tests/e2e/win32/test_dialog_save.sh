#!/usr/bin/env bash
# What the settings dialog saves after the user has changed something: the file option without a
# file (and the next start falling back to no music), a typed CD track, the moved scroll bar, a file
# chosen in the file chooser, and every other line of an existing settings file kept.
set -u
source "$KOVAREN_SOURCE_DIR/tests/e2e/win32/harness.sh"
source "$KOVAREN_SOURCE_DIR/tests/e2e/win32/dialog_driver.sh"
kv_start

INI=$KV_APP_DIR/Kovaren.ini

save() {
  click_save
  kv_wait_exit "$DLG_PID" 5
}
# value KEY : the value text of KEY in the settings file (after the '=' sign, blanks kept)
value() { kv_read_ini | sed -n "s/^$1=//p"; }
is_blue() { test "$(kv_pixel "$1" "$2" "$3" | awk '{print ($3 > $1 + 100)}')" == 1; }

# --- "MP3、WAV" without a file ----------------------------------------------------------------------
kv_check "the dialog opens" open_dialog /c
client_click $((P + 52 + 10)) $((P + 80 + 6))
kv_shot "$KV_ARTIFACTS/file_option.png"
kv_check "a click on the caption MP3、WAV turns its mark on" is_blue "$KV_ARTIFACTS/file_option.png" \
  $((CX + P + 42)) $((CY + P + 86))
kv_check "設定 ends the program" save
kv_check "the file option is saved as ' 2'" test "$(value 'BGM区分')" == " 2"
kv_check "with an empty file name" test "$(value 'BGMﾌｧｲﾙ')" == ""
open_dialog /c
kv_shot "$KV_ARTIFACTS/reopened.png"
kv_check "the next start falls back to no music (無し is on)" is_blue "$KV_ARTIFACTS/reopened.png" \
  $((CX + P + 42)) $((CY + P + 66))
kv_key Escape "$WIN"
kv_wait_exit "$DLG_PID" 5

# --- A typed track and the moved scroll bar, in a file with lines of its own ------------------------
kv_write_ini "; my comment" "[Before]" "x=1" "[Section]" "BGM区分= 1" "mine=keep me" "もみじ= 120" \
  "" "[After]" "y=2"
open_dialog /c
client_click $((P + 120 + 12)) $((P + 36 + 9))  # into the combo box's text field
xdotool key 7
client_click $((P + 280 + 72)) $((P + 36 + 8))  # the scroll bar's right arrow: one small step (10 leaves)
kv_shot "$KV_ARTIFACTS/typed.png"
kv_check "設定 ends the program" save
kv_check "the typed track is saved as ' 7'" test "$(value 'BGMﾘﾋﾟｰﾄ')" == " 7"
kv_check "the scroll bar's value is saved (120 + 10)" test "$(value 'もみじ')" == " 130"
kv_check "the kind is written back unchanged" test "$(value 'BGM区分')" == " 1"
for line in "; my comment" "[Before]" "x=1" "mine=keep me" "[After]" "y=2"; do
  kv_check "the line '$line' is kept" grep -qxF -- "$line" <(kv_read_ini)
done
kv_check "the other sections stay in their places" \
  test "$(kv_read_ini | grep -n '^\[' | tr '\n' ' ')" == "2:[Before] 4:[Section] 11:[After] "

# --- A stored count below 50 is shown on the bar and saved as it was -------------------------------
kv_write_ini "[Section]" "もみじ= 30"
open_dialog /c
kv_shot "$KV_ARTIFACTS/count30.png"
kv_check "設定 ends the program" save
kv_check "a stored count of 30 is saved as ' 30'" test "$(value 'もみじ')" == " 30"

# --- A file chosen in the file chooser while "無し" is selected ------------------------------------
rm -f "$INI"
open_dialog /c
client_click $((P + 120 + 14)) $((P + 80 + 10))  # "..."
chooser=$(kv_wait_window $'\xef\xbe\x8c\xef\xbd\xa7\xef\xbd\xb2\xef\xbe\x99\xe3\x82\x92\xe9\x81\xb8\xe6\x8a\x9e' 10)
kv_check "... opens the file chooser titled ﾌｧｲﾙを選択" test -n "$chooser"
if [[ -n $chooser ]]; then
  sleep 0.5
  xdotool type --delay 20 'C:\music\song.mp3'
  xdotool key Return
  kv_wait_no_window $'\xef\xbe\x8c\xef\xbd\xa7\xef\xbd\xb2\xef\xbe\x99\xe3\x82\x92\xe9\x81\xb8\xe6\x8a\x9e' 5 >/dev/null
  sleep 0.3
  kv_shot "$KV_ARTIFACTS/chosen.png"
  kv_check "設定 ends the program" save
  kv_check "the chosen path is saved" test "$(value 'BGMﾌｧｲﾙ')" == 'C:\music\song.mp3'
  kv_check "choosing a file does not select the file option" test "$(value 'BGM区分')" == " 0"
fi

kv_finish
