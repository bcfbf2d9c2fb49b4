#!/usr/bin/env bash
# As xsecurelock runs its saver: -root, a decimal XSCREENSAVER_WINDOW without a screenshot, in a
# process group of its own. The backdrop is plain dark with leaves; nothing of the desktop shows.
source "$(dirname "$0")/harness.sh"
start_x
test_window
setsid env XSCREENSAVER_WINDOW=$test_window "$kovaren" -root --seed 3 &
pid=$!; pids+=($pid)
shot_until 10 "$work/saver.png" root dark
kill -TERM "$pid"; wait_gone "$pid" 2
echo "xsecurelock: passed"
