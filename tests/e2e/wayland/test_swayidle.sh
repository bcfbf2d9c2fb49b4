# Started by swayidle as a user's line would start it: after one idle second the leaves cover the
# desktop; a key ends the saver within 1 s and swayidle stays, waiting for the next time.
source "$(dirname "${BASH_SOURCE[0]}")/harness.sh"
command -v swayidle >/dev/null || fail "cannot set up: swayidle is missing (scripts/setup installs it)"
start_sway 640x480
desktop_picture "$work/desktop-only.png" HEADLESS-1

user_exec swayidle -w timeout 1 "$kovaren --fullscreen --count 100" >"$work/swayidle.log" 2>&1 &
idle_pid=$!
kv_track_pid "$idle_pid"
shot_until 4 "$work/leaves.png" HEADLESS-1 leaves-over "$work/desktop-only.png"
shot_until "$ALL_COLOURS_LIMIT_S" "$work/leaves.png" HEADLESS-1 all-colours-over "$work/desktop-only.png"
saver_pid=$(pgrep -P "$idle_pid" | head -1 || true)
[[ -n $saver_pid ]] || fail "swayidle shows leaves but has no kovaren child"
press_key
wait_gone "$saver_pid" 1
kill -0 "$idle_pid" || fail "swayidle ended with the saver"
no_shm_left
no_saver_left
echo "PASS"
