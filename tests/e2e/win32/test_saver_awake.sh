#!/usr/bin/env bash
# The saver never asks to keep the display or the machine awake, neither itself nor through the
# multimedia calls while music plays: with an MP3 and then a WAV playing, Wine's call trace of the
# saver's process shows none of the power calls. The trace also lists two calls the saver is known to
# make, so an empty trace cannot pass for a clean one.
set -u
source "$KOVAREN_SOURCE_DIR/tests/e2e/win32/harness.sh"
kv_start

POWER_CALLS=(kernel32.SetThreadExecutionState kernelbase.SetThreadExecutionState ntdll.NtSetThreadExecutionState
  kernel32.PowerCreateRequest kernel32.PowerSetRequest kernelbase.PowerCreateRequest kernelbase.PowerSetRequest
  ntdll.NtPowerInformation ntdll.NtInitiatePowerAction)
PLAYING_SECS=5

# The trace covers only these functions (Wine's relay channel, limited through the registry).
traced=$(IFS=';'; echo "${POWER_CALLS[*]};user32.ShowWindow;winmm.mciSendStringW;winmm.PlaySoundW")
wine reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /t REG_SZ /d "$traced" /f >/dev/null 2>&1 ||
  kv_die "could not limit the call trace"
sox -n -r 44100 -c 2 "$KV_APP_DIR/tone.wav" synth 2 sine 440 vol 0.5 2>/dev/null &&
  lame --quiet "$KV_APP_DIR/tone.wav" "$KV_APP_DIR/tone.mp3" || kv_die "could not make the music files"

# play FILE MUSIC_CALL : runs the saver playing FILE (looped) under the trace and checks it.
play() {
  local file=$1 music_call=$2 path trace=$KV_ARTIFACTS/trace-$1.log
  path=$(winepath -w "$KV_APP_DIR/$file" 2>/dev/null | tr -d '\r\n' | iconv -f UTF-8 -t CP932)
  # BGM区分 2 (a file), BGMﾘﾋﾟｰﾄ 1, BGMﾌｧｲﾙ, もみじ, in code page 932.
  printf '[Section]\r\nBGM\213\346\225\252= 2\r\nBGM\330\313\337\260\304= 1\r\nBGM\314\247\262\331=%s\r\n\202\340\202\335\202\266= 50\r\n' \
    "$path" >"$KV_APP_DIR/Kovaren.ini"
  (cd "$KV_APP_DIR" && WINEDEBUG=+relay exec wine Kovaren.scr /s) >"$trace" 2>&1 &
  local saver=$!
  kv_track_pid "$saver"
  kv_check "$file: the saver shows" test -n "$(kv_wait_window Tesmar_Main 15)"
  sleep $PLAYING_SECS
  kv_check "$file: the music plays" test "$(pactl list short sink-inputs | grep -c .)" -gt 0
  kv_key a
  kv_check "$file: a key ends the saver" kv_wait_exit "$saver" 8
  local calls
  calls=$(grep -o 'Call [a-z0-9]*\.[A-Za-z]*' "$trace" | sort | uniq -c | tr -s ' ' | tr '\n' ';')
  echo "$file: $calls"
  kv_check "$file: the trace works (ShowWindow and $music_call seen)" \
    test -n "$(grep -m1 'Call user32.ShowWindow(' "$trace")" -a -n "$(grep -m1 "Call winmm.$music_call(" "$trace")"
  kv_check "$file: no power call" test -z "$(grep -F -f <(printf 'Call %s(\n' "${POWER_CALLS[@]}") "$trace")"
}

play tone.mp3 mciSendStringW
play tone.wav PlaySoundW
kv_finish
