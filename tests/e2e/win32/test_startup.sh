#!/usr/bin/env bash
# Start-up: which command texts start the saver, which end the program at once, and the instance guard
# (a window titled like the saver or the settings dialog makes every start end at once).
source "$KOVAREN_SOURCE_DIR/tests/e2e/win32/harness.sh"
kv_start

saver=Tesmar_Main
dialog='＜Kovaren＞'

# launch KIND TEXT: KIND "args" passes TEXT as arguments, "raw" as the exact command text.
launch() {
  if [[ $1 == raw ]]; then kv_launch_raw "$2"; else
    # shellcheck disable=SC2086  # word splitting makes the arguments
    kv_launch $2
  fi
}

# Command texts that must end the program within 2 s and leave nothing on screen.
ending=(
  "args|/a 1234"   # another switch: the settings are read, then nothing shows
  "args|/x"
  "raw|s"          # a single character: no mode letter
  "raw| /s"        # a blank first: the mode letter is the slash
  "raw|/"
)
for row in "${ending[@]}"; do
  kind=${row%%|*} text=${row#*|}
  before=$(kv_window_names)
  launch "$kind" "$text"
  kv_check "'$text' ends within 2 s" kv_wait_exit "$KV_PID" 2
  kv_check "'$text' leaves no window" test "$(kv_window_names)" == "$before"
  kv_check "'$text' ends normally" test "${KV_EXIT_STATUS:-x}" == 0
done

# Command texts that run the saver: its window comes up, and a key ends it.
saving=("args|/s" "args|/S" "args|-s" "args|/sx" "raw|")
for row in "${saving[@]}"; do
  kind=${row%%|*} text=${row#*|}
  launch "$kind" "$text"
  pid=$KV_PID
  window=$(kv_wait_window "$saver" 10)
  kv_check "'$text' shows the saver" test -n "$window"
  if [[ -n $window ]]; then kv_key space "$window"; else kv_why_no_window "$pid"; fi
  kv_check "'$text': a key ends the saver" kv_wait_exit "$pid" 3
  kv_wait_no_window "$saver" 3 || kill "$pid" 2>/dev/null
done

# Command texts that open the settings dialog (a handle after the switch is ignored).
for text in /c /C /c:1234; do
  kv_launch "$text"
  pid=$KV_PID
  kv_check "'$text' shows the settings dialog" test -n "$(kv_wait_window "$dialog" 5)"
  kv_check "'$text' shows no saver" bash -c '! grep -qx Tesmar_Main' <<<"$(kv_window_names)"
  kill "$pid"
  kv_wait_exit "$pid" 5
  kv_wait_no_window "$dialog" 5
done

# The instance guard, for both captions and every kind of start.
guarded=("args|/s" "raw|" "args|/c" "args|/p 1234" "args|/a 1234")
for caption in "$saver" "$dialog"; do
  kv_launch_exe "$KOVAREN_WIN_BUILD/caption_host.exe" "$caption"
  host_pid=$KV_PID
  kv_check "a window titled $caption shows" test -n "$(kv_wait_window "$caption" 5)"
  before=$(kv_window_names)
  for row in "${guarded[@]}"; do
    kind=${row%%|*} text=${row#*|}
    launch "$kind" "$text"
    kv_check "beside $caption, '$text' ends at once" kv_wait_exit "$KV_PID" 2
    kv_check "beside $caption, '$text' shows nothing" test "$(kv_window_names)" == "$before"
  done
  kill "$host_pid"
  kv_wait_exit "$host_pid" 5
  kv_check "the window titled $caption is gone" kv_wait_no_window "$caption" 5
done

# Once the guard window is gone, the saver starts again (the guard looks at windows, not at history).
kv_launch /s
pid=$KV_PID
window=$(kv_wait_window "$saver" 5)
kv_check "after the guard window went, /s shows the saver" test -n "$window"
[[ -n $window ]] && kv_key Escape "$window"
kv_wait_exit "$pid" 3

kv_finish
