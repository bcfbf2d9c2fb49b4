#!/usr/bin/env bash
# Music as a user hears it, on a PulseAudio null sink: a WAV and an MP3 made here play over and over
# while the saver runs and stop when SIGTERM ends it; a file that cannot play leaves the saver running
# silently.
source "$(dirname "$0")/harness.sh"
kv_need pulseaudio pactl parec sox lame
TONE_S=2
LISTEN_S=6  # three plays of the tone: more than one play's worth of sound means it started again
RATE=8000

start_sound_server

make_tone "$work/tone.wav" "$TONE_S"
make_tone "$work/tone.mp3" "$TONE_S"
head -c 30000 /dev/urandom >"$work/noise.wav"  # a WAV by name only

streams() { pactl list short sink-inputs | grep -c . || true; }
# wait_streams WANT LIMIT: until the sound server has WANT streams (0, or "some"), up to LIMIT seconds.
wait_streams() {
  local deadline
  deadline=$(kv_deadline "$2")
  until { [[ $1 == some ]] && (($(streams) > 0)); } || { [[ $1 == 0 ]] && (($(streams) == 0)); }; do
    kv_before "$deadline" || return 1
    sleep 0.1
  done
}

start_x
test_window
# file, least seconds of sound heard in LISTEN_S (0: none may be heard)
while read -r file least; do
  XSCREENSAVER_WINDOW=$test_window "$kovaren" --root --count 20 --music "$work/$file" 2>"$work/kovaren.log" &
  pid=$!; kv_track_pid "$pid"
  if [[ $least != 0 ]]; then
    wait_streams some 10 || kv_die "$file: no stream on the sound server within 10 s"
  fi
  timeout "$LISTEN_S" parec -d nullsink.monitor --raw --format=s16le --rate=$RATE --channels=1 >"$work/heard.raw" || true
  heard=$(python3 "$here/loudness.py" "$work/heard.raw" "$RATE")
  python3 -c "import sys; a, b = map(float, sys.argv[1:]); sys.exit(not (a >= b if b else a == 0))" "$heard" "$least" ||
    kv_die "$file: ${heard} s of sound in ${LISTEN_S} s, wanted $([[ $least != 0 ]] && echo "at least $least" || echo none)"
  kill -0 "$pid" 2>/dev/null || kv_die "$file: the saver ended while the music played"
  kill -TERM "$pid"
  kv_expect_gone "$pid" 2
  status=0; wait "$pid" || status=$?
  ((status == 0)) || kv_die "$file: exit status $status"
  wait_streams 0 3 || kv_die "$file: the stream outlived the saver"
done <<CASES
tone.wav 3.5
tone.mp3 3.5
noise.wav 0
CASES
echo "music: passed"
