#!/usr/bin/env bash
# SIGTERM and SIGINT mid-pass end it at once with status 0, leaving no process and no shared segment.
source "$(dirname "$0")/harness.sh"
start_x
segments_before=$(ipcs -m | grep -c '^0x' || true)
for sig in TERM INT; do
  "$kovaren" --fullscreen --count 500 &
  pid=$!; pids+=($pid)
  sleep 1
  kill -"$sig" "$pid"
  wait_gone "$pid" 1
  status=0; wait "$pid" || status=$?
  ((status == 0)) || fail "SIG$sig: exit status $status"
done
segments_after=$(ipcs -m | grep -c '^0x' || true)
((segments_after <= segments_before)) || fail "shared segments left: $segments_before -> $segments_after"
echo "signals: passed"
