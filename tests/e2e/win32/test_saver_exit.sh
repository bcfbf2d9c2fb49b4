#!/usr/bin/env bash
# Ending the saver: a click of any mouse button ends "/s" within a second; an empty command line runs
# the same saver, which a key ends.
set -u
source "$KOVAREN_SOURCE_DIR/tests/e2e/win32/harness.sh"
kv_start

# One run per button: left, middle, right.
for button in 1 2 3; do
  kv_start_saver "/s shows Tesmar_Main (button $button run)"
  pid=$KV_SAVER_PID
  kv_move 600 400  # moving first must not end it
  sleep 0.5
  kv_check "still running after the pointer moved (button $button run)" kill -0 "$pid"
  kv_click 600 400 "$button"
  kv_check "a click of button $button ends the saver within 1 s" kv_wait_exit "$pid" 1
  kv_wait_no_window Tesmar_Main 5 >/dev/null
done

# No switch at all: the host's "run the saver" form.
kv_launch
pid=$KV_PID
win=$(kv_wait_window Tesmar_Main 10)
kv_check "an empty command line shows the saver window" test -n "$win"
sleep 1
kv_check "the saver without a switch keeps running" kill -0 "$pid"
kv_key Escape
kv_check "a key ends the saver started without a switch within 1 s" kv_wait_exit "$pid" 1

kv_finish
