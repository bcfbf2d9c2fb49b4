#!/usr/bin/env bash
# Where the settings go when the program's folder cannot be written (a read-only bind mount stands in
# for a system folder: everything here runs as root): 設定 writes the per-user file, the next start
# reads it and the file beside the program stays byte for byte; with both places unwritable the save
# is told and the dialog keeps the user's choices; the repeat-track box takes what is typed in full;
# odd settings files open with the defaults and still save.
set -u
source "$KOVAREN_SOURCE_DIR/tests/e2e/win32/harness.sh"
source "$KOVAREN_SOURCE_DIR/tests/e2e/win32/dialog_driver.sh"
kv_start

MESSAGE_CAPTION=Kovaren
BESIDE=$KV_APP_DIR/Kovaren.ini

APPDATA=$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData/Roaming 2>/dev/null | grep -v /Public/ | head -n1)
[[ -d $APPDATA ]] || kv_die "no roaming application data folder in the prefix"
PER_USER=$APPDATA/Kovaren/Kovaren.ini

# Read-only bind mounts made by this test, listed in $KV_TMP/mounts. They are undone (lazily: a program
# of the test may still have its working folder there) before the harness removes the scratch folder,
# and by a watcher should this test be killed outright.
MOUNTS_FILE=$KV_TMP/mounts
: >"$MOUNTS_FILE"
make_read_only() {
  mount --bind "$1" "$1" || return 1
  echo "$1" >>"$MOUNTS_FILE"
  mount -o remount,bind,ro "$1"
}
make_writable() {
  umount -l "$1" || return 1
  grep -vxF -- "$1" "$MOUNTS_FILE" >"$MOUNTS_FILE.new"
  mv "$MOUNTS_FILE.new" "$MOUNTS_FILE"
}
undo_mounts() {
  local m
  [[ -f $MOUNTS_FILE ]] || return 0
  while read -r m; do umount -l "$m"; done <"$MOUNTS_FILE"
  : >"$MOUNTS_FILE"
}
(
  trap '' INT TERM
  exec </dev/null >/dev/null 2>&1
  while kill -0 $$ 2>/dev/null; do sleep 0.2; done
  [[ -f $MOUNTS_FILE ]] && while read -r m; do umount -l "$m"; done <"$MOUNTS_FILE"
) &
disown $!
trap 'undo_mounts; kv_cleanup' EXIT

click_cd_option() { client_click $((P + 52 + 10)) $((P + 40 + 6)); }
click_count_right() { client_click $((P + 280 + 72)) $((P + 36 + 8)); }
# type_repeat TEXT : replaces the combo box's text with TEXT, typed key by key
type_repeat() {
  client_click $((P + 120 + 12)) $((P + 36 + 9))
  xdotool key End BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace
  xdotool type --delay 30 "$1"
}
save_and_exit() { click_save && kv_wait_exit "$DLG_PID" 5; }
# value FILE KEY : the value text of KEY in a settings file (blanks kept)
value() { iconv -f CP932 -t UTF-8 "$1" | tr -d '\r' | sed -n "s/^$2=//p"; }
is_blue() { test "$(kv_pixel "$1" "$2" "$3" | awk '{print ($3 > $1 + 100)}')" == 1; }
cd_mark_on() { is_blue "$1" $((CX + P + 42)) $((CY + P + 46)); }
none_mark_on() { is_blue "$1" $((CX + P + 42)) $((CY + P + 66)); }
# listing DIR : every path below DIR with its size and checksum, to tell that nothing changed
listing() { (cd "$1" && find . -print0 | sort -z | xargs -0 -r -n1 sh -c 'if [ -f "$0" ]; then echo "$0 $(md5sum <"$0")"; else echo "$0"; fi'); }
# leaf_pixels PNG : how many pixels show a pure leaf colour (the desktop has none of them)
leaf_pixels() {
  convert "$1" -depth 8 rgb:- | python3 -c '
import sys
data = sys.stdin.buffer.read()
leaf = {b"\xff\x00\x00", b"\xff\xff\x00", b"\x80\xff\x00"}
print(sum(1 for i in range(0, len(data), 3) if data[i:i + 3] in leaf))'
}

# same_panel_but_scroll_bar BEFORE AFTER : the panel looks the same in both shots, leaving out the
# scroll bar (77x17 at 280,36), whose focus caret blinks once focus comes back to it; the count
# beside it still shows its value.
same_panel_but_scroll_bar() {
  local region
  for region in 280x125+0+0 72x125+357+0 77x36+280+0 77x72+280+53; do
    IFS='x+' read -r w h x y <<<"$region"
    kv_same_picture "$1" "$2" "${w}x${h}+$((CX + P + x))+$((CY + P + y))" || return 1
  done
}

# --- The program's folder is read-only: the settings go to the per-user file ---------------------
# The file beside the program asks for no leaves at all (a count of -1 keeps none), so a saver that
# read it would show only the desktop.
kv_write_ini "; kept beside" "[Section]" "BGM区分= 0" "もみじ=-1" "mine=stays"
cp "$BESIDE" "$KV_TMP/beside.orig"
rm -rf "$APPDATA/Kovaren"
kv_check "the program's folder is made read-only" make_read_only "$KV_APP_DIR"

kv_check "/c opens the dialog" open_dialog /c
click_cd_option
type_repeat 13.5
click_count_right  # the scroll bar refused -1 and starts at 100: one step (10 leaves) more, 110
kv_shot "$KV_ARTIFACTS/readonly_choices.png"
kv_check "設定 saves and ends the program" save_and_exit
kv_check "the per-user file is written" test -f "$PER_USER"
kv_check "per-user: BGM区分 = ' 1'" test "$(value "$PER_USER" 'BGM区分')" == " 1"
kv_check "per-user: 13.5 typed in full saves BGMﾘﾋﾟｰﾄ = ' 14'" test "$(value "$PER_USER" 'BGMﾘﾋﾟｰﾄ')" == " 14"
kv_check "per-user: BGMﾌｧｲﾙ is there, empty" grep -qxF 'BGMﾌｧｲﾙ=' <(iconv -f CP932 -t UTF-8 "$PER_USER" | tr -d '\r')
kv_check "per-user: もみじ = ' 110'" test "$(value "$PER_USER" 'もみじ')" == " 110"
kv_check "per-user: the lines of the file beside the program are kept" \
  test "$(iconv -f CP932 -t UTF-8 "$PER_USER" | tr -d '\r' | grep -cxE '; kept beside|mine=stays')" == 2
kv_check "the file beside the program is unchanged byte for byte" cmp -s "$BESIDE" "$KV_TMP/beside.orig"
kv_check "nothing else appeared beside the program" test "$(ls -A "$KV_APP_DIR" | tr '\n' ' ')" == "Kovaren.ini Kovaren.scr "
cp "$PER_USER" "$KV_TMP/per_user.saved"

kv_check "the next /c opens the dialog" open_dialog /c
kv_shot "$KV_ARTIFACTS/readonly_reopened.png"
kv_check "the next /c shows the saved music option (音楽CD on)" cd_mark_on "$KV_ARTIFACTS/readonly_reopened.png"
# Saving what was shown writes back exactly what was read: the track box showed 14, the bar 110.
kv_check "設定 without a change saves and ends the program" save_and_exit
kv_check "the next /c showed the saved track and count (saving them again changes no byte)" \
  cmp -s "$PER_USER" "$KV_TMP/per_user.saved"

kv_start_saver "/s shows the saver" 20
SAVER_PID=$KV_SAVER_PID
leaves=0
for ((i = 0; i < 30; i++)); do
  kv_shot "$KV_ARTIFACTS/saver.png"
  leaves=$(leaf_pixels "$KV_ARTIFACTS/saver.png")
  ((leaves > 0)) && break
  sleep 1
done
kv_log "leaf pixels after ~$i s: $leaves"
kv_check "/s uses the saved leaf count (leaves fall; the file beside the program keeps none)" test "$leaves" -gt 0
xdotool key a
kv_check "a key ends the saver" kv_wait_exit "$SAVER_PID" 10

# --- Both places unwritable: the failure is told and nothing is lost ---------------------------
rm -rf "$APPDATA/Kovaren"
listing "$APPDATA" >"$KV_TMP/appdata.before"
kv_check "the application data folder is made read-only" make_read_only "$APPDATA"
kv_check "/c opens the dialog" open_dialog /c
click_cd_option
type_repeat 7
click_count_right
kv_move $((CX + 272 + 40)) $((CY + 160 + 12))  # the pointer rests on 設定 in both shots
sleep 0.3
kv_shot "$KV_ARTIFACTS/failed_before.png"
click_save
box=$(kv_wait_window "$MESSAGE_CAPTION" 10)
kv_check "設定 shows a message box titled $MESSAGE_CAPTION" test -n "$box"
sleep 0.5
kv_shot "$KV_ARTIFACTS/settings-save-failed.png"
kv_check "the dialog stays open behind the message" kv_wait_window "$CAPTION" 1 >/dev/null
kv_check "the program still runs" kill -0 "$DLG_PID"
kv_key Return "$box"
kv_check "Enter closes the message" kv_wait_no_window "$MESSAGE_CAPTION" 5
sleep 0.5
kv_shot "$KV_ARTIFACTS/failed_after.png"
kv_check "the dialog is still open after the message" kv_wait_window "$CAPTION" 1 >/dev/null
kv_check "the panel still shows every choice (the same pixels as before 設定)" \
  same_panel_but_scroll_bar "$KV_ARTIFACTS/failed_before.png" "$KV_ARTIFACTS/failed_after.png"
kv_check "the file beside the program is unchanged" cmp -s "$BESIDE" "$KV_TMP/beside.orig"
kv_check "nothing changed in the application data folder" \
  diff <(listing "$APPDATA") "$KV_TMP/appdata.before"
click_cancel
kv_check "ｷｬﾝｾﾙ then closes the dialog and the program ends" kv_wait_exit "$DLG_PID" 5
kv_check "still nothing changed beside the program" \
  test "$(ls -A "$KV_APP_DIR" | tr '\n' ' ')" == "Kovaren.ini Kovaren.scr "

# Trying again once the place can be written saves at once.
kv_check "/c opens the dialog" open_dialog /c
type_repeat 9
click_save
box=$(kv_wait_window "$MESSAGE_CAPTION" 10)
kv_check "the failure is told again" test -n "$box"
kv_key Return "$box"
kv_wait_no_window "$MESSAGE_CAPTION" 5
make_writable "$APPDATA"
kv_check "設定 again saves and ends the program" save_and_exit
kv_check "the retried save wrote the per-user file with the typed track" \
  test "$(value "$PER_USER" 'BGMﾘﾋﾟｰﾄ')" == " 9"
make_writable "$KV_APP_DIR"

# --- The repeat-track box takes three digits --------------------------------------------------
rm -rf "$APPDATA/Kovaren"
kv_write_ini "[Section]" "BGM区分= 1"
kv_check "/c opens the dialog" open_dialog /c
type_repeat 100
kv_check "設定 saves and ends the program" save_and_exit
kv_check "100 typed in full saves BGMﾘﾋﾟｰﾄ = ' 100'" test "$(value "$BESIDE" 'BGMﾘﾋﾟｰﾄ')" == " 100"

# --- Odd settings files: defaults on opening, and a save that succeeds ------------------------
# A folder where the file should be: it cannot be replaced, so the settings go per user.
rm -f "$BESIDE"
mkdir "$BESIDE"
kv_check "with a folder for a settings file, /c opens the dialog" open_dialog /c
kv_shot "$KV_ARTIFACTS/folder.png"
kv_check "... with the defaults (無し on)" none_mark_on "$KV_ARTIFACTS/folder.png"
kv_check "... and 設定 saves" save_and_exit
kv_check "... to the per-user file" test "$(value "$PER_USER" 'もみじ')" == " 100"
kv_check "... leaving the folder as it was" test -d "$BESIDE" -a -z "$(ls -A "$BESIDE")"
rmdir "$BESIDE"
rm -rf "$APPDATA/Kovaren"

# 50 MB in one line, no line break.
head -c $((50 * 1024 * 1024)) /dev/zero | tr '\0' 'x' >"$BESIDE"
md5_big=$(md5sum <"$BESIDE")
start_ms=$(date +%s%3N)
kv_check "with a 50 MB one-line settings file, /c opens the dialog" open_dialog /c
kv_log "the dialog showed $(($(date +%s%3N) - start_ms)) ms after the start (0.5 s of it waiting for the zoom)"
kv_shot "$KV_ARTIFACTS/huge.png"
kv_check "... with the defaults (無し on)" none_mark_on "$KV_ARTIFACTS/huge.png"
kv_check "... and 設定 saves" save_and_exit
kv_check "... to the per-user file, since the huge file is not taken in" \
  test "$(value "$PER_USER" 'もみじ')" == " 100"
kv_check "... leaving the huge file as it was" test "$(md5sum <"$BESIDE")" == "$md5_big"
rm -f "$BESIDE"
rm -rf "$APPDATA/Kovaren"

# No [Section] at all.
kv_write_ini "loose=1" "; no section here"
kv_check "without a [Section], /c opens the dialog" open_dialog /c
kv_shot "$KV_ARTIFACTS/no_section.png"
kv_check "... with the defaults (無し on)" none_mark_on "$KV_ARTIFACTS/no_section.png"
kv_check "... and 設定 saves" save_and_exit
kv_check "... beside the program, adding the section after the old lines" \
  test "$(iconv -f CP932 -t UTF-8 "$BESIDE" | tr -d '\r' | head -n4 | tr '\n' '|')" == "loose=1|; no section here||[Section]|"
kv_check "... and no per-user file appears" test ! -e "$PER_USER"

# --- A per-user folder whose name code page 932 cannot hold ------------------------------------
# The user's application data moved to a folder named with "ë" and "ł" (neither is in code page 932):
# the per-user file is found and written through wide paths all the same.
rm -f "$BESIDE"
kv_write_ini "[Section]" "もみじ= 77"
reg=$KV_TMP/appdata.reg
{
  printf '\xff\xfe'
  printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders]\r\n"AppData"="C:\\\\users\\\\Zoë Włodek"\r\n' |
    iconv -f UTF-8 -t UTF-16LE
} >"$reg"
wine regedit /S "$(kv_windows_path "$reg")" >>"$KV_ARTIFACTS/wine.log" 2>&1
WIDE_PER_USER="$WINEPREFIX/drive_c/users/Zoë Włodek/Kovaren/Kovaren.ini"
kv_check "the program's folder is made read-only" make_read_only "$KV_APP_DIR"
kv_check "/c opens the dialog" open_dialog /c
click_cd_option
kv_check "設定 saves and ends the program" save_and_exit
kv_check "the per-user file is written under the folder named with ë and ł" \
  test "$(value "$WIDE_PER_USER" 'BGM区分')" == " 1"
kv_check "... holding the count read beside the program" test "$(value "$WIDE_PER_USER" 'もみじ')" == " 77"
kv_check "the next /c opens the dialog" open_dialog /c
kv_shot "$KV_ARTIFACTS/wide_reopened.png"
kv_check "... and reads that file (音楽CD on)" cd_mark_on "$KV_ARTIFACTS/wide_reopened.png"
kv_key Escape "$WIN"
kv_wait_exit "$DLG_PID" 5
make_writable "$KV_APP_DIR"

kv_finish
