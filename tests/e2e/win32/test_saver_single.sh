#!/usr/bin/env bash
# One saver at a time: while it runs, a second start with "/s" or "/c" ends at once and leaves the
# running saver alone.
set -u
source "$KOVAREN_SOURCE_DIR/tests/e2e/win32/harness.sh"
kv_start

kv_start_saver "the first saver shows"
saver=$KV_SAVER_PID

for switch in /s /c; do
  kv_launch "$switch"
  second=$KV_PID
  kv_check "a second start with $switch ends within 1 s" kv_wait_exit "$second" 1
  kv_check "the running saver survives the second start with $switch" kill -0 "$saver"
done
# The refused "/c" must not have shown the settings dialog.
kv_check "no settings dialog appeared" test -z "$(xdotool search --name '＜Kovaren＞' 2>/dev/null)"

kv_key space
kv_check "a key still ends the first saver" kv_wait_exit "$saver" 1

kv_finish
