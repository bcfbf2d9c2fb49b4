#!/usr/bin/env bash
# As xsecurelock runs its saver: -root, a decimal XSCREENSAVER_WINDOW without a screenshot, in a
# process group of its own. The backdrop is plain dark with leaves; nothing of the desktop shows.
source "$(dirname "$0")/harness.sh"
start_x
test_window
setsid env XSCREENSAVER_WINDOW=$test_window "$kovaren" -root --seed 3 &
pid=$!; pids+=($pid)
sleep 1.5
shot "$work/saver.png"
pixels dark "$work/saver.png"
kill -TERM "$pid"; wait_gone "$pid" 1
echo "xsecurelock: passed"
