#!/usr/bin/env bash
# In a window of its own over the whole screen: the first frame is the screen as it was, then pure
# leaf colours over it that move; a key ends it, and so does a click.
source "$(dirname "$0")/harness.sh"
start_x
kv_shot "$work/before.png"
for ending in key click; do
  "$kovaren" --fullscreen --count 100 --seed 7 &
  pid=$!; kv_track_pid "$pid"
  timeout "$SETUP_LIMIT_S" xdotool search --sync --onlyvisible --classname kovaren >/dev/null ||
    kv_die "kovaren's window did not show"
  if [[ $ending == key ]]; then
    kv_shot "$work/first.png"
    kv_pixels same-under-leaves "$work/before.png" "$work/first.png"  # a pass may have run already
    kv_shot_until_fact 10 "$work/a.png" root leaves-over "$work/before.png"
    sleep 0.3; kv_shot "$work/b.png"
    kv_pixels moved "$work/a.png" "$work/b.png"
    xdotool key space  # through XTEST, as a keyboard would: to the focused window
  else
    xdotool mousemove 10 10 click 1
  fi
  kv_expect_gone "$pid" 2
  wait "$pid" || kv_die "exit status $? after a $ending"
done
echo "own window: passed"
