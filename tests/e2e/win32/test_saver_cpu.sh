#!/usr/bin/env bash
# The running saver is paced, not running flat out: with 101 leaves its process uses under 10% of one
# core (process CPU time over 5 s, read from /proc after the leaves have had time to show). It prints
# the figure; the limit is far enough above what a paced saver costs under Wine here (4-5%) that a busy
# machine does not fail it, and far below the whole core an unpaced loop takes.
set -u
source "$KOVAREN_SOURCE_DIR/tests/e2e/win32/harness.sh"
kv_start

kv_write_ini '[Section]' 'もみじ= 100'  # 101 leaves
kv_start_saver "the saver shows"
pid=$KV_SAVER_PID
sleep 10  # past start-up, with leaves on screen

MEASURED_S=5
permille=$(kv_cpu_permille "$pid" $MEASURED_S)
kv_shot "$KV_ARTIFACTS/cpu.png"
echo "saver CPU use with 101 leaves: $((permille / 10)).$((permille % 10))% of one core over $MEASURED_S s"
kv_check "the saver uses under 10% of one core ($((permille / 10)).$((permille % 10))%)" test "$permille" -lt 100

kv_key a
kv_check "a key ends the saver" kv_wait_exit "$pid" 1
kv_finish
