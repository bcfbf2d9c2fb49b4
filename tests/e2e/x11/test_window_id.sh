#!/usr/bin/env bash
# The settings' preview: --window-id (hexadecimal and decimal) draws leaves in that window, on the
# dark backdrop (a preview is offered no screenshot), and ends when the window goes away.
source "$(dirname "$0")/harness.sh"
start_x
for form in hex decimal; do
  test_window 320x240+0+0; win=$test_window
  [[ $form == hex ]] && id=$(printf '0x%x' "$win") || id=$win
  "$kovaren" --window-id "$id" --seed 5 &
  pid=$!; kv_track_pid "$pid"
  kv_shot_until_fact 10 "$work/preview.png" "$win" dark
  kill "$test_window_pid"
  kv_expect_gone "$pid" 2
done
echo "window id: passed"
