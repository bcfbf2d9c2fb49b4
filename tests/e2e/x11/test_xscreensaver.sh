#!/usr/bin/env bash
# Under the real xscreensaver daemon, as its users run it: a `programs:` line with --root in a private
# ~/.xscreensaver, a known (striped) desktop, the daemon's screenshot of it. `-select 1` shows leaves
# of the three pure colours over that desktop; `-deactivate` leaves no kovaren process after 1 s and
# none of its shared segments.
source "$(dirname "$0")/harness.sh"
kv_need xscreensaver xscreensaver-command setpriv ipcs
STRIPE_COLOUR='#c0c0c0'  # no leaf colour either

# The daemon launches no hack as root ("running as root: not launching hacks"): as root, run it as
# nobody, with a copy of kovaren in the work folder (a checkout under /root is closed to nobody).
as_user=()
if (($(id -u) == 0)); then
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  chmod 755 "$work"
  install -m 755 "$kovaren" "$work/kovaren" && kovaren=$work/kovaren
  "${as_user[@]}" test -x "$kovaren" || kv_die "cannot set up: user nobody cannot run $kovaren"
fi
home=${work:?}/home
mkdir "$home"
cat >"$home/.xscreensaver" <<SETTINGS
mode:		one
selected:	0
timeout:	8:00:00
cycle:		0:00:00
lock:		False
fade:		False
unfade:		False
splash:		False
grabDesktopImages:	True
programs:	$kovaren --root --seed 9 \\n
SETTINGS
((${#as_user[@]} == 0)) || chown -R 65534:65534 "$home"

start_x
test_window 640x480+0+0 "$STRIPE_COLOUR"
kv_shot "$work/desktop.png"
HOME=$home "${as_user[@]}" xscreensaver -no-splash -verbose >"$work/daemon.log" 2>&1 &
daemon=$!; kv_track_pid "$daemon"
daemon_fail() { tail -n 5 "$work/daemon.log" >&2; kv_die "$@"; }

# descendants PID: the processes under PID, all the way down.
descendants() {
  local child
  for child in $(ps -o pid= --ppid "$1"); do echo "$child"; descendants "$child"; done
}
# The daemon takes a moment to listen for commands.
for i in $(seq $((SETUP_LIMIT_S * 5))); do
  xscreensaver-command -time >/dev/null 2>&1 && break
  kill -0 "$daemon" 2>/dev/null || daemon_fail "cannot set up: the daemon ended"
  sleep 0.2
done
xscreensaver-command -select 1 >/dev/null || daemon_fail "-select 1 refused"
hack=
for i in $(seq $((SETUP_LIMIT_S * 5))); do
  for pid in $(descendants "$daemon"); do
    [[ $(cat "/proc/$pid/comm" 2>/dev/null) == kovaren ]] && hack=$pid
  done
  [[ -n $hack ]] && break
  sleep 0.2
done
[[ -n $hack ]] || daemon_fail "the daemon launched no kovaren"
kv_shot_until_fact 20 "$work/saver.png" root all-colours-over "$work/desktop.png"

xscreensaver-command -deactivate >/dev/null || daemon_fail "-deactivate refused"
sleep 1
# Ended (a zombie not yet reaped by whoever adopted it has ended too), and nothing of it left.
state=$(awk '/^State:/ {print $2}' "/proc/$hack/status" 2>/dev/null || true)
[[ -z $state || $state == Z ]] || kv_die "kovaren (pid $hack) still running 1 s after -deactivate"
for pid in $(descendants "$daemon"); do
  [[ $(cat "/proc/$pid/comm" 2>/dev/null) != kovaren ]] || kv_die "a kovaren (pid $pid) runs after -deactivate"
done
[[ -z $(ipcs -m -p | awk -v pid="$hack" '$3 == pid') ]] || kv_die "shared segments of kovaren left"
echo "xscreensaver: passed"
