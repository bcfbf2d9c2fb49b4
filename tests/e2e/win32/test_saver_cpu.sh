#!/usr/bin/env bash
# The running saver is paced, not running flat out: with 101 leaves its process uses under 10% of one
# core (process CPU time over 5 s, read from /proc after the leaves have had time to show). It prints
# the figure; the limit is far enough above what a paced saver costs under Wine here (4-5%) that a busy
# machine does not fail it, and far below the whole core an unpaced loop takes.
set -u
source "$KOVAREN_SOURCE_DIR/tests/e2e/win32/harness.sh"
kv_start

kv_write_ini '[Section]' 'もみじ= 100'  # 101 leaves
kv_launch /s
pid=$KV_PID
kv_check "the saver shows" test -n "$(kv_wait_window Tesmar_Main 10)"
sleep 10  # past start-up, with leaves on screen

# utime + stime, fields 14 and 15 of /proc/PID/stat (the comm field has no blanks for Kovaren.scr).
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)
t0=$(date +%s%N)
c0=$(cpu_ticks "$pid")
sleep 5
c1=$(cpu_ticks "$pid")
t1=$(date +%s%N)
kv_shot "$KV_ARTIFACTS/cpu.png"
# Per mille of one core: CPU seconds over wall seconds.
permille=$(( (c1 - c0) * 1000 * 1000000000 / hz / (t1 - t0) ))
echo "saver CPU use with 101 leaves: $((permille / 10)).$((permille % 10))% of one core over $(( (t1 - t0) / 1000000 )) ms"
kv_check "the saver uses under 10% of one core ($((permille / 10)).$((permille % 10))%)" test "$permille" -lt 100

kv_key a
kv_check "a key ends the saver" kv_wait_exit "$pid" 1
kv_finish
