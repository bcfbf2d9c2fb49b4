#!/usr/bin/env bash
# The setup program of this architecture as a user meets it: its Japanese first page; a silent install
# puts the build's Kovaren.scr into the system folder, makes it the current screen saver and registers
# the uninstaller; the installed file runs as saver and dialog; installing again over a copy in use
# leaves one whole file and one entry; the uninstaller removes the file, the entry and SCRNSAVE.EXE,
# keeps the user's settings, and a second run does no harm.
set -u
source "$KOVAREN_SOURCE_DIR/tests/e2e/win32/harness.sh"
: "${KOVAREN_DIST_DIR:?}"
kv_start
# Each architecture's setup installs that architecture's build.
case $KV_ARCH in
  win64) arch=x64 ;;
  win32) arch=x86 ;;
esac
build=$KOVAREN_WIN_BUILD
setup=$KOVAREN_DIST_DIR/KovarenSetup-$KOVAREN_RELEASE-$arch.exe
[[ -f $setup ]] || kv_die "no $setup (scripts/build makes it)"

# Each prefix runs one architecture, so its system32 is the folder of that build.
system_folder_win='C:\windows\system32'
system_folder=$WINEPREFIX/drive_c/windows/system32
installed=$system_folder/Kovaren.scr
installed_win="$system_folder_win\\Kovaren.scr"
program_folder_win='C:\Program Files\Kovaren'
program_folder=$WINEPREFIX/drive_c/Program\ Files/Kovaren
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kovaren'
desktop_key='HKCU\Control Panel\Desktop'
setup_title='Kovaren セットアップ'

# A failed reg.exe run is not an absent value: on a loaded machine one query of the entry once printed
# nothing (the check then read that value as empty) while the others were right. So a key is read as
# one listing, from a run of reg.exe that ended with status 0 (which it does for an existing key, even
# an empty one, of which it lists nothing): a failed run is tried again, and a key that could never be
# listed says so instead of passing for an empty value, a cleared one or a removed key.
REG_READ_TRIES=5
REG_READ_PAUSE_S=0.5
REG_UNREADABLE='<reg.exe could not read the key>'
# lines_ending_in TAIL : counts the lines of standard input that end in TAIL (case-insensitive; through
# the environment, as awk -v would read the backslashes of a key as escapes); false when none does.
lines_ending_in() {
  TAIL=$1 awk '{ tail = tolower(ENVIRON["TAIL"]); n = length(tail) }
    length($0) >= n && substr(tolower($0), length($0) - n + 1) == tail { count++ }
    END { print count + 0; exit !count }'
}
# reg_listing KEY : prints reg.exe's listing of the key (its values, then its subkeys by full name);
# fails when no try could list it (a missing key, or reg.exe failing each time).
reg_listing() {
  local try out status
  for ((try = 1; try <= REG_READ_TRIES; try++)); do
    out=$(wine reg query "$1" 2>>"$KV_ARTIFACTS/reg.log")
    status=$?
    if ((status == 0)); then
      tr -d '\r' <<<"$out"
      return 0
    fi
    kv_log "reg query $1 (try $try) ended with status $status: '$(tr -d '\r' <<<"$out")'"
    sleep "$REG_READ_PAUSE_S"
  done
  return 1
}
# reg_value KEY NAME : prints the value's data as reg.exe shows it; fails when the value is missing.
reg_value() {
  local listing
  listing=$(reg_listing "$1") || { echo "$REG_UNREADABLE"; return 2; }
  awk -F'    ' -v name="$2" 'NF >= 4 && tolower($2) == tolower(name) { print $4; found = 1 } END { exit !found }' <<<"$listing"
}
# reg_key_missing KEY : true when the key's parent, listed, has no such subkey, or is missing itself
# (near the root, where keys always exist, a parent that cannot be listed proves nothing).
reg_key_missing() {
  local parent=${1%\\*} listing
  if listing=$(reg_listing "$parent"); then
    ! lines_ending_in "\\${1#*\\}" <<<"$listing" >/dev/null
  else
    [[ $parent == *\\*\\* ]] && reg_key_missing "$parent"
  fi
}
# kovaren_entries : how many uninstall entries are named Kovaren (in the view of this prefix's reg.exe).
kovaren_entries() { reg_listing "${uninstall_key%\\*}" | lines_ending_in '\Kovaren'; }
same_text_ignoring_case() { [[ ${1,,} == "${2,,}" ]]; }
# run_setup ARGS... : runs the setup program and waits for it; fails unless it ended with status 0.
run_setup() { kv_run_exe 30 "$setup" "$@"; }
kib() { echo $((($(stat -c %s "$1") + 1023) / 1024)); }

# The first page: the wizard shows in Japanese with the program's icon (the screenshot is for eyes);
# leaving it changes nothing.
kv_launch_exe "$setup"
wizard_pid=$KV_PID
wizard=$(kv_wait_window "$setup_title" 20)
kv_check "the setup's first page shows (window '$setup_title')" test -n "$wizard"
if [[ -n $wizard ]]; then
  sleep 0.5  # the page paints after the window maps
  read -r x y w h < <(kv_window_geometry "$wizard")
  import -window root -crop "${w}x${h}+${x}+${y}" +repage "$KV_ARTIFACTS/welcome.png"
fi
kill "$wizard_pid"
kv_wait_exit "$wizard_pid" 5
kv_check "leaving the first page installs nothing" test ! -e "$installed"

# A silent install.
kv_check "/S installs and ends with status 0" run_setup /S
kv_check "the system folder holds this build's Kovaren.scr" cmp -s "$installed" "$build/Kovaren.scr"
kv_check "the uninstaller is in $program_folder_win" test -f "$program_folder/uninstall.exe"
kv_check "SCRNSAVE.EXE names the installed file" same_text_ignoring_case "$(reg_value "$desktop_key" SCRNSAVE.EXE)" "$installed_win"
kv_check "ScreenSaveActive is 1" test "$(reg_value "$desktop_key" ScreenSaveActive)" == 1
entry=(
  "DisplayName|Kovaren ($arch)"
  "DisplayVersion|$KOVAREN_RELEASE"
  "Publisher|Kovaren developers"
  "DisplayIcon|$installed_win,0"
  "UninstallString|\"$program_folder_win\\uninstall.exe\""
  "QuietUninstallString|\"$program_folder_win\\uninstall.exe\" /S"
  "EstimatedSize|$(printf '0x%x' $(($(kib "$installed") + $(kib "$program_folder/uninstall.exe"))))"
)
for row in "${entry[@]}"; do
  name=${row%%|*} want=${row#*|}
  got=$(reg_value "$uninstall_key" "$name")
  kv_check "uninstall entry $name is '$want' (is '$got')" same_text_ignoring_case "$got" "$want"
done
if [[ $arch == x64 ]]; then
  kv_check "the x64 entry is in the 64-bit registry view only" \
    reg_key_missing 'HKLM\Software\WOW6432Node\Microsoft\Windows\CurrentVersion\Uninstall\Kovaren'
fi

# The installed file runs as the saver: leaves appear over the desktop; a key ends it.
kv_start_saver "the installed file's /s shows the saver" 10 "$installed"
saver_pid=$KV_SAVER_PID saver=$KV_SAVER_WIN
leaves=0
for ((i = 0; i < 60 && ${#saver} > 0; i++)); do
  kv_shot "$KV_ARTIFACTS/saver.png"
  kv_same_picture "$KV_DESKTOP_PNG" "$KV_ARTIFACTS/saver.png" >/dev/null || { leaves=1; break; }
  sleep 0.25
done
kv_check "leaves show over the desktop within 15 s" test "$leaves" == 1
[[ -n $saver ]] && kv_key Escape "$saver"
kv_wait_no_window Tesmar_Main 5
kv_wait_exit "$saver_pid" 10 || kill "$saver_pid"

# The installed file runs as the dialog, and stays in use while the same version is installed again.
kv_launch_exe "$installed" /c
dialog_pid=$KV_PID
kv_check "the installed file's /c shows the dialog" test -n "$(kv_wait_window '＜Kovaren＞' 10)"
kv_check "installing again while Kovaren.scr is in use ends with status 0" run_setup /S
kv_check "after installing twice the system folder holds the build's Kovaren.scr" cmp -s "$installed" "$build/Kovaren.scr"
kv_check "after installing twice there is one Kovaren.scr" \
  test "$(find "$system_folder" -maxdepth 1 -iname 'kovaren*.scr' | wc -l)" == 1
kv_check "after installing twice there is one uninstall entry" test "$(kovaren_entries)" == 1
# A running program's file cannot be deleted (Wine keeps that rule too) but can be renamed: the old copy
# is moved aside whole and removed at the next restart; no scratch copy of the new file is left.
mapfile -t aside < <(find "$system_folder" -maxdepth 1 -iname 'ns*.tmp')
kv_check "at most the one old copy is left aside (${#aside[@]}: ${aside[*]##*/})" test "${#aside[@]}" -le 1
for file in "${aside[@]}"; do
  kv_check "the copy moved aside is whole" cmp -s "$file" "$build/Kovaren.scr"
  kv_check "the copy moved aside is removed at restart" grep -qi "${file##*/}" \
    <<<"$(wine reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations 2>/dev/null)"
done
kv_check "the running dialog was left alone" test -n "$(kv_wait_window '＜Kovaren＞' 1)"
kill "$dialog_pid"
kv_wait_exit "$dialog_pid" 5
kv_wait_no_window '＜Kovaren＞' 5

# Settings files the uninstaller must keep: one beside the program (silent mode answers "keep") and
# the per-user one (never touched).
appdata_win=$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')
appdata=$WINEPREFIX/drive_c/$(sed 's/^[Cc]:\\//; s/\\/\//g' <<<"$appdata_win")
mkdir -p "$appdata/Kovaren"
printf '[Section]\r\nBGM=1\r\n' >"$appdata/Kovaren/Kovaren.ini"
printf '[Section]\r\nBGM=2\r\n' >"$system_folder/Kovaren.ini"
touch -d '2020-01-01 00:00' "$appdata/Kovaren/Kovaren.ini"
user_ini_before=$(stat -c '%s %Y' "$appdata/Kovaren/Kovaren.ini")
cp "$program_folder/uninstall.exe" "$KV_TMP/uninstall-again.exe"

# Uninstall as the system's list of programs would, with the registered quiet command. The uninstaller
# hands over to a copy of itself and returns at once: its work is done when the entry is gone.
quiet=$(reg_value "$uninstall_key" QuietUninstallString)
uninstaller_win=$(sed -n 's/^"\(.*\)" \/S$/\1/p' <<<"$quiet")
kv_check "the quiet uninstall command is '\"<uninstaller>\" /S'" test -n "$uninstaller_win"
kv_launch_exe "$uninstaller_win" /S
kv_wait_exit "$KV_PID" 10
for ((i = 0; i < 100; i++)); do reg_key_missing "$uninstall_key" && break; sleep 0.2; done
kv_check "uninstalling removes the entry" reg_key_missing "$uninstall_key"
kv_check "uninstalling removes Kovaren.scr" test ! -e "$installed"
kv_check "uninstalling removes the uninstaller's folder" test ! -e "$program_folder"
kv_check "uninstalling clears SCRNSAVE.EXE" test -z "$(reg_value "$desktop_key" SCRNSAVE.EXE)"
kv_check "a silent uninstall keeps Kovaren.ini beside the program" test -f "$system_folder/Kovaren.ini"
kv_check "the per-user settings file is untouched" test "$(stat -c '%s %Y' "$appdata/Kovaren/Kovaren.ini")" == "$user_ini_before"

# The saved copy of the uninstaller, run in place for this folder so that it ends when its work is
# done. "_?=" must come last and unquoted (Wine would quote it, the path has a blank): through the
# launcher, which passes the command line as it is.
uninstall_again() {
  kv_run_exe 30 "$KOVAREN_WIN_BUILD/launch_host.exe" "$(kv_windows_path "$KV_TMP/uninstall-again.exe")" \
    "uninstall-again.exe /S _?=$program_folder_win"
}

# Installed again, Kovaren.scr deleted by hand: the uninstaller still removes what is left, and clears
# SCRNSAVE.EXE that names the missing file.
kv_check "installing once more ends with status 0" run_setup /S
rm -f "$installed"
kv_check "uninstalling after Kovaren.scr was deleted by hand ends with status 0" uninstall_again
kv_check "... and removes the entry" reg_key_missing "$uninstall_key"
kv_check "... and clears SCRNSAVE.EXE" test -z "$(reg_value "$desktop_key" SCRNSAVE.EXE)"
kv_check "... and removes the uninstaller's folder" test ! -e "$program_folder"

# Once more with nothing left to remove: no harm, and a screen saver the user has chosen since stays.
other_saver="$system_folder_win\\other.scr"
wine reg add "$desktop_key" /v SCRNSAVE.EXE /t REG_SZ /d "$other_saver" /f >/dev/null 2>&1
kv_check "uninstalling with nothing left ends with status 0" uninstall_again
kv_check "... and keeps another saver in SCRNSAVE.EXE" \
  same_text_ignoring_case "$(reg_value "$desktop_key" SCRNSAVE.EXE)" "$other_saver"
kv_check "... and keeps Kovaren.ini beside the program" test -f "$system_folder/Kovaren.ini"
kv_check "... and creates no entry" reg_key_missing "$uninstall_key"
kv_check "the per-user settings file is still untouched" \
  test "$(stat -c '%s %Y' "$appdata/Kovaren/Kovaren.ini")" == "$user_ini_before"

kv_log "done in $((SECONDS - KV_STARTED)) s"
kv_finish
