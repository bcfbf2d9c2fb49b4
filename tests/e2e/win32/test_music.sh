#!/usr/bin/env bash
# Background music as a user hears it, on the sound server's null sink: an MP3 plays within 3 s and
# again after its end, a WAV loops, a key ends saver and sound; without a CD drive the arrows keep
# the saver running and nothing hangs; a file that cannot be played leaves a normal saver.
set -u
source "$KOVAREN_SOURCE_DIR/tests/e2e/win32/harness.sh"
kv_start

WORK=$KV_ARTIFACTS  # the recordings stay with the screenshots
TONE_SECONDS=2

# Settings file: section "Section", keys in code page 932 (BGM区分, BGMﾘﾋﾟｰﾄ, BGMﾌｧｲﾙ, もみじ).
# $3 is the music file's path, already in code page 932.
write_ini() {
  {
    printf '[Section]\r\n'
    printf 'BGM\213\346\225\252= %s\r\n' "$1"
    printf 'BGM\330\313\337\260\304= %s\r\n' "$2"
    printf 'BGM\314\247\262\331=%s\r\n' "$3"
    printf '\202\340\202\335\202\266= 50\r\n'
  } >"$KV_APP_DIR/Kovaren.ini"
}

# The Windows path of a Unix file, in code page 932 bytes as the settings file stores it.
win_path_cp932() { winepath -w "$1" 2>/dev/null | tr -d '\r\n' | iconv -f UTF-8 -t CP932; }

sink_inputs() { pactl list short sink-inputs 2>/dev/null | grep -c . || true; }

# Waits until the sound server has a stream (or none, with "none"), up to $2 seconds.
wait_streams() {
  local want=$1 deadline
  deadline=$(kv_deadline "$2")
  while :; do
    local n; n=$(sink_inputs)
    if [ "$want" = none ]; then [ "$n" -eq 0 ] && return 0; else [ "$n" -gt 0 ] && return 0; fi
    kv_before "$deadline" || return 1
    sleep 0.1
  done
}

RATE=8000
# Records the default sink's monitor for $2 seconds into $1. The null sink renders only while a
# stream is open, so a recording holds nothing before the saver's first sound.
record() { timeout "$2" parec -d @DEFAULT_MONITOR@ --raw --format=s16le --rate=$RATE --channels=1 >"$1" 2>/dev/null; }

# Prints "sound=S again=A": seconds of non-silent 100 ms chunks, and 1 when sound comes back after a
# silence that followed sound, or when there is more sound than one play of the file holds.
analyse() {
  python3 - "$1" "$RATE" "$TONE_SECONDS" <<'PY'
import math, struct, sys
data = open(sys.argv[1], "rb").read()
rate, length = int(sys.argv[2]), float(sys.argv[3])
chunk = rate // 10
samples = struct.unpack("<%dh" % (len(data) // 2), data[:len(data) // 2 * 2])
loud = []
for i in range(0, len(samples) - chunk + 1, chunk):
    part = samples[i:i + chunk]
    loud.append(math.sqrt(sum(s * s for s in part) / chunk) > 300)
sound = sum(loud) / 10
again, heard, gap = 0, False, False
for v in loud:
    if v and gap: again = 1
    if v: heard = True
    elif heard: gap = True
if sound > length * 1.4: again = 1
print(f"sound={sound} again={again}")
PY
}
value_of() { sed -n "s/.*$1=\([^ ]*\).*/\1/p" <<<"$2"; }

sox -n -r 44100 -c 2 "$KV_APP_DIR/tone.wav" synth $TONE_SECONDS sine 440 vol 0.5 2>/dev/null
lame --quiet "$KV_APP_DIR/tone.wav" "$KV_APP_DIR/tone.mp3"
cp "$KV_APP_DIR/tone.mp3" "$KV_APP_DIR/秋の曲.Mp3"  # Japanese name, mixed-case extension
head -c 30000 /dev/urandom >"$KV_APP_DIR/noise.mp3"  # exists, but is no MP3
head -c 30000 /dev/urandom >"$KV_APP_DIR/noise.wav"

# A music file plays over and over; a key ends saver and sound.
# $1 label, $2 file (Unix path), $3 minimum seconds of sound in the 9 s recording, $4 the saver's
# locale (default: the harness's Japanese one).
play_case() {
  local label=$1 file=$2 minimum=$3 locale=${4:-$LANG}
  write_ini 2 0 "$(win_path_cp932 "$file")"
  local started=$SECONDS
  LANG=$locale LC_ALL=$locale kv_launch /s
  local pid=$KV_PID
  record "$WORK/$label-first.raw" 3 &
  local first_recording=$!
  local win; win=$(kv_wait_window Tesmar_Main 10)
  kv_check "$label: the saver window appears" test -n "$win"
  kv_check "$label: the sound server has a stream within 3 s" wait_streams some 3
  wait "$first_recording"
  local first; first=$(analyse "$WORK/$label-first.raw")
  kv_check "$label: sound within 3 s of the start ($first)" \
    python3 -c "import sys; sys.exit(not float(sys.argv[1]) >= 0.3)" "$(value_of sound "$first")"
  record "$WORK/$label-rest.raw" $((9 - (SECONDS - started)))
  cat "$WORK/$label-first.raw" "$WORK/$label-rest.raw" >"$WORK/$label.raw"
  local stats; stats=$(analyse "$WORK/$label.raw")
  echo "$label: $stats"
  kv_check "$label: at least ${minimum}s of sound in 9 s, so it played again after its end ($stats)" \
    python3 -c "import sys; sys.exit(not (float(sys.argv[1]) >= float(sys.argv[2]) and sys.argv[3] == '1'))" \
    "$(value_of sound "$stats")" "$minimum" "$(value_of again "$stats")"
  kv_check "$label: the saver is still running while the music plays" kill -0 "$pid"
  kv_key Escape "$win"
  kv_check "$label: a key ends the saver within 2 s" kv_wait_exit "$pid" 2
  kv_check "$label: the stream is gone once the saver has ended" wait_streams none 3
  kv_wait_no_window Tesmar_Main 5 >/dev/null
}

play_case mp3 "$KV_APP_DIR/tone.mp3" 3
play_case mp3-japanese-name "$KV_APP_DIR/秋の曲.Mp3" 3
# A Western locale's code page has no Japanese: the path must still reach the device intact.
play_case mp3-japanese-name-western-locale "$KV_APP_DIR/秋の曲.Mp3" 3 C.UTF-8
# The sound player loops without a gap; two whole plays at least, as the 9 s include the saver's start
# (measured 4.8 s on a busy machine).
play_case wav "$KV_APP_DIR/tone.wav" 4

# Audio CD without a drive: the arrows are track keys and keep the saver running; any other key ends it.
write_ini 1 3 ""
kv_start_saver "cd: the saver window appears without a CD drive"
pid=$KV_SAVER_PID win=$KV_SAVER_WIN
sleep 1
for arrow in Left Right Left; do
  kv_key "$arrow" "$win"
  sleep 0.5
  kv_check "cd: $arrow arrow leaves the saver running" kill -0 "$pid"
done
kv_shot "$KV_ARTIFACTS/cd-no-drive.png"
kv_check "cd: no sound stream without a CD" test "$(sink_inputs)" -eq 0
kv_key Return "$win"
kv_check "cd: another key ends the saver within 2 s" kv_wait_exit "$pid" 2
kv_wait_no_window Tesmar_Main 5 >/dev/null

# Files that exist but hold no sound: the saver runs normally and ends on a key.
for bad in noise.mp3 noise.wav; do
  write_ini 2 0 "$(win_path_cp932 "$KV_APP_DIR/$bad")"
  kv_start_saver "$bad: the saver window appears"
  pid=$KV_SAVER_PID win=$KV_SAVER_WIN
  sleep 2.5  # past two MP3 polls
  kv_check "$bad: the saver keeps running" kill -0 "$pid"
  kv_shot "$KV_ARTIFACTS/$bad.png"
  kv_key space "$win"
  kv_check "$bad: a key ends the saver within 2 s" kv_wait_exit "$pid" 2
  kv_wait_no_window Tesmar_Main 5 >/dev/null
done

kv_finish
