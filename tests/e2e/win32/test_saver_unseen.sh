#!/usr/bin/env bash
# While nobody can see the screen the saver draws nothing: after a delivered "display off" the screen
# stops changing and the saver's CPU is at most a tenth of its drawing figure, measured in this run;
# "display on" moves the leaves again within 0.5 s; a locked session stops it too, and a key still
# ends it. Wine never sends these notifications, so power_host.exe delivers them as the system would.
set -u
source "$KOVAREN_SOURCE_DIR/tests/e2e/win32/harness.sh"
kv_start

# screen_changes SECS TAG : true when the screen differs between now and SECS seconds later.
screen_changes() {
  kv_shot "$KV_ARTIFACTS/$2-a.png"; sleep "$1"; kv_shot "$KV_ARTIFACTS/$2-b.png"
  ! kv_same_picture "$KV_ARTIFACTS/$2-a.png" "$KV_ARTIFACTS/$2-b.png" >/dev/null
}
screen_still() { ! screen_changes "$@"; }

kv_write_ini '[Section]' 'もみじ= 100'  # 101 leaves
kv_start_saver "the saver shows"
saver=$KV_SAVER_PID
sleep 4  # past start-up, with leaves on screen

drawing=$(kv_cpu_permille "$saver" 10)
kv_check "display off is delivered" kv_deliver display off
sleep 0.5
off=$(kv_cpu_permille "$saver" 10)
echo "saver CPU over 10 s: drawing $((drawing / 10)).$((drawing % 10))%, display off $((off / 10)).$((off % 10))% of one core"
kv_check "display off: CPU at most a tenth of drawing (${off} vs ${drawing} per mille)" test $((off * 10)) -le "$drawing"
kv_check "display off: the screen stops changing" screen_still 1 off

kv_check "display on is delivered" kv_deliver display on
kv_check "display on: leaves move again within 0.5 s" screen_changes 0.5 on
kv_check "dimmed is delivered" kv_deliver display dimmed
kv_check "dimmed: leaves keep moving" screen_changes 0.5 dimmed

kv_check "a session lock is delivered" kv_deliver session lock
sleep 0.3
kv_check "locked: the screen stops changing" screen_still 1 locked
kv_check "the saver still lives" kill -0 "$saver"
kv_key a
kv_check "a key ends the saver while nobody sees it" kv_wait_exit "$saver" 5
kv_finish
