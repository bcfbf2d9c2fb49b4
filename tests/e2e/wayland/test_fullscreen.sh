# kovaren --fullscreen under headless sway: leaves over the desktop as it was within 3 s, of all three
# colours soon after, moving; a key (wtype) ends it within 1 s; SIGTERM ends it cleanly; nothing left
# behind.
source "$(dirname "${BASH_SOURCE[0]}")/harness.sh"
start_sway 640x480
desktop_picture "$work/desktop-only.png" HEADLESS-1

# A key ends it.
start_saver --fullscreen --count 100
shot_until 3 "$work/leaves.png" HEADLESS-1 leaves-over "$work/desktop-only.png"
shot_until "$ALL_COLOURS_LIMIT_S" "$work/leaves.png" HEADLESS-1 all-colours-over "$work/desktop-only.png"
sleep 0.3
shot "$work/later.png" HEADLESS-1
pixels moved "$work/leaves.png" "$work/later.png" || fail "the leaves do not move"
pixels leaves-over "$work/desktop-only.png" "$work/later.png" || fail "the leaves left the desktop's colours"
press_key
wait_gone "$saver_pid" 1
wait "$saver_pid" || fail "kovaren ended on a key with status $?"
no_shm_left
no_saver_left
shot_until 3 "$work/after.png" HEADLESS-1 same-under-leaves "$work/desktop-only.png"

# SIGTERM ends it cleanly (status 0), as a daemon stops it.
start_saver --fullscreen --count 100
shot_until 3 "$work/leaves2.png" HEADLESS-1 leaves-over "$work/desktop-only.png"
kill -TERM "$saver_pid"
wait_gone "$saver_pid" 1
wait "$saver_pid" || fail "kovaren ended on SIGTERM with status $?"
no_shm_left
no_saver_left

# The compositor going away ends it too.
start_saver --fullscreen --count 100
shot_until 3 "$work/leaves3.png" HEADLESS-1 leaves-over "$work/desktop-only.png"
kill -TERM "$sway_pid"
wait_gone "$saver_pid" 2
echo "PASS"
