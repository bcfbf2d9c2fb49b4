#!/usr/bin/env bash
# SIGTERM and SIGINT mid-pass end it at once with status 0 and no process left. Its shared image
# segments are marked for removal while it runs (so even a killed process leaks none) and are gone
# once the server has let go of them.
source "$(dirname "$0")/harness.sh"
kv_need ipcs
start_x
# segments_of PID: "shmid status" of each shared segment that process created.
segments_of() {
  join <(ipcs -m -p | awk -v pid="$1" '$3 == pid {print $1}' | sort) \
    <(ipcs -m | awk '$1 ~ /^0x/ {print $2, ($7 == "" ? "kept" : $7)}' | sort)
}
for sig in TERM INT; do
  "$kovaren" --fullscreen --count 500 &
  pid=$!; kv_track_pid "$pid"
  timeout "$SETUP_LIMIT_S" xdotool search --sync --onlyvisible --classname kovaren >/dev/null ||
    kv_die "kovaren's window did not show"
  sleep 0.5  # mid-pass: the leaves are falling
  segments=$(segments_of "$pid")
  [[ -n $segments ]] || kv_die "SIG$sig: no shared segment (MIT-SHM unused)"
  ! grep -qv ' dest$' <<<"$segments" || kv_die "SIG$sig: segments not marked for removal: $segments"
  kill -"$sig" "$pid"
  kv_expect_gone "$pid" 2
  status=0; wait "$pid" || status=$?
  ((status == 0)) || kv_die "SIG$sig: exit status $status"
  for i in $(seq 100); do [[ -z $(segments_of "$pid") ]] && break; sleep 0.05; done
  [[ -z $(segments_of "$pid") ]] || kv_die "SIG$sig: segments left: $(segments_of "$pid")"
done
echo "signals: passed"
