#!/usr/bin/env bash
# In a window of its own over the whole screen: the first frame is the screen as it was, then pure
# leaf colours over it that move; a key ends it, and so does a click.
source "$(dirname "$0")/harness.sh"
start_x
shot "$work/before.png"
for ending in key click; do
  "$kovaren" --fullscreen --count 100 --seed 7 &
  pid=$!; pids+=($pid)
  win=$(xdotool search --sync --onlyvisible --class kovaren | head -1)
  shot "$work/first.png"
  sleep 1; shot "$work/a.png"; sleep 0.3; shot "$work/b.png"
  if [[ $ending == key ]]; then
    pixels same "$work/before.png" "$work/first.png" || true  # a frame may already hold leaves
    pixels leaves-over "$work/before.png" "$work/a.png"
    pixels moved "$work/a.png" "$work/b.png"
    xdotool key --window "$win" space
  else
    xdotool mousemove --window "$win" 10 10 click 1
  fi
  wait_gone "$pid" 2
  wait "$pid" || fail "exit status $? after a $ending"
done
echo "own window: passed"
