#!/usr/bin/env bash
# As xsecurelock runs its saver: -root, a decimal XSCREENSAVER_WINDOW without a screenshot, in a
# process group of its own. The backdrop is plain dark with leaves; nothing of the desktop shows.
# First by hand, then through xsecurelock's own saver_multiplex (a window per monitor inside the
# locker's window, the saver started in it and stopped with its process group).
source "$(dirname "$0")/harness.sh"
multiplex=/usr/libexec/xsecurelock/saver_multiplex
kv_need "$multiplex"
start_x
test_window
setsid env XSCREENSAVER_WINDOW=$test_window "$kovaren" -root --seed 3 &
pid=$!; kv_track_pid "$pid"
kv_shot_until_fact 10 "$work/saver.png" root dark
kill -TERM "$pid"; kv_expect_gone "$pid" 2
echo "xsecurelock: by hand passed"

test_window  # a fresh window over the first, so only the second saver's picture can pass
XSCREENSAVER_WINDOW=$test_window XSECURELOCK_SAVER=$(realpath "$kovaren") "$multiplex" &
multiplex_pid=$!; kv_track_pid "$multiplex_pid"
kv_shot_until_fact 10 "$work/multiplex.png" root dark
saver=$(pgrep -P "$multiplex_pid" -x kovaren) || kv_die "saver_multiplex started no kovaren"
kill -TERM "$multiplex_pid"; kv_expect_gone "$saver" 2
echo "xsecurelock: under saver_multiplex passed"
