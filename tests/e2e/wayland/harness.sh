# Shared by the Wayland end-to-end tests (sourced): a private headless sway (pixman renderer, no input
# devices) showing a known desktop, run by an unprivileged user (sway refuses root), kovaren copied
# where that user can read it, screenshots by grim, clean-up by process id.
# KOVAREN_NATIVE_BUILD names the build holding kovaren.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../kit/kit.sh"
blocks_py=$here/leaf_blocks.py
built=${KOVAREN_NATIVE_BUILD:?}/kovaren
DESKTOP_COLOUR='#3060a0'  # the known desktop: no leaf colour, not dark
SETUP_LIMIT_S=20          # generous and bounded: a busy machine is slow, a broken one must not hang
SAVER_USER=65534          # nobody: who runs sway and kovaren when the test runs as root
# Leaves show within 3 s; the last of the three colours can take longer: with 101 leaves it shows
# within 3.6 s of the start whatever the seed (a leaf first falls in from where it started).
ALL_COLOURS_LIMIT_S=8

fail() { kv_die "$@"; }
kv_need sway swaymsg grim wtype convert compare python3
[[ -x $built ]] || fail "cannot set up: no $built (build the target kovaren)"

# Short folder, readable by the saver's user (a checkout under /root is not).
work=$(mktemp -d "${TMPDIR:-/tmp}/kvw.XXXXXX")
chmod 755 "$work"
KV_PID_FILE=$work/pids
KV_SCRATCH=("$work")
runtime=$work/run
mkdir -m 700 "$runtime"
if [[ $(id -u) == 0 ]]; then
  command -v setpriv >/dev/null || fail "cannot set up: sway refuses root and setpriv is missing"
  chown "$SAVER_USER:$SAVER_USER" "$runtime"
  as_user=(setpriv --reuid="$SAVER_USER" --regid="$SAVER_USER" --clear-groups)
else
  as_user=()
fi
cp "$built" "$work/kovaren"
kovaren=$work/kovaren

# Savers a daemon started end first: swayidle -w waits for its command before it heeds SIGTERM.
stop_started_savers() {
  local pid
  for pid in $(pgrep -f "^$kovaren( |$)"); do kill "$pid" 2>/dev/null || true; done
}
cleanup() {
  stop_started_savers
  kv_stop_tracked
  rm -rf "$work"
}
trap cleanup EXIT
kv_start_watchdog stop_started_savers

# user COMMAND...: runs COMMAND as the saver's user with only the session's environment.
user() { (user_exec "$@"); }
# The same in place of the (sub)shell: "user_exec ... &" makes $! the command's own process id.
user_exec() {
  exec "${as_user[@]}" env -i PATH=/usr/bin:/bin XDG_RUNTIME_DIR="$runtime" ${WAYLAND_DISPLAY:+WAYLAND_DISPLAY=$WAYLAND_DISPLAY} \
    ${SWAYSOCK:+SWAYSOCK=$SWAYSOCK} "$@"
}

# start_sway [SIZE]: one headless output HEADLESS-1 of SIZE (default 640x480) painted DESKTOP_COLOUR.
# Sets WAYLAND_DISPLAY and SWAYSOCK. Where sway does not come up the test fails, saying why.
start_sway() {
  local size=${1:-640x480} i socket
  cat >"$work/sway.conf" <<CONF
xwayland disable
output * bg $DESKTOP_COLOUR solid_color
output * resolution $size
CONF
  user_exec env WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman sway -c "$work/sway.conf" \
    >"$work/sway.log" 2>&1 &
  sway_pid=$!
  kv_track_pid "$sway_pid"
  for i in $(seq $((SETUP_LIMIT_S * 20))); do
    socket=$(cd "$runtime" && ls wayland-? 2>/dev/null | head -1 || true)
    [[ -n $socket ]] && SWAYSOCK=$(ls "$runtime"/sway-ipc.*.sock 2>/dev/null | head -1 || true)
    [[ -n $socket && -n ${SWAYSOCK:-} ]] && break
    kill -0 "$sway_pid" 2>/dev/null || break
    sleep 0.05
  done
  [[ -n ${socket:-} && -n ${SWAYSOCK:-} ]] || fail "cannot set up: headless sway did not start ($(tail -2 "$work/sway.log"))"
  export WAYLAND_DISPLAY=$socket SWAYSOCK
  # The desktop is painted once the first frame is out.
  for i in $(seq $((SETUP_LIMIT_S * 10))); do
    shot "$work/desktop.png" HEADLESS-1 2>/dev/null && desktop_is_painted "$work/desktop.png" && return 0
    sleep 0.1
  done
  fail "cannot set up: sway never showed the painted desktop"
}

desktop_is_painted() { [[ $(convert "$1" -format '%[pixel:p{1,1}]' info:) == "srgb(48,96,160)" ]]; }

# shot FILE [OUTPUT]: what the compositor shows (on one output).
shot() { user grim ${2:+-o "$2"} - >"$1"; }

# A picture of OUTPUT showing only the desktop, for the leaf checks.
desktop_picture() {
  local geometry
  geometry=$(swaymsg_json -t get_outputs | python3 -c "import json,sys; o=[x for x in json.load(sys.stdin) if x['name']=='$2'][0]; print(o['current_mode']['width'], o['current_mode']['height'])")
  convert -size "${geometry/ /x}" "xc:$DESKTOP_COLOUR" "$1"
}
swaymsg_json() { user swaymsg -r "$@"; }

# shot_until LIMIT FILE OUTPUT CHECK [EARLIER...]: screenshots FILE of OUTPUT until pixel CHECK of
# EARLIER... and FILE holds, for up to LIMIT seconds; the test ends with the check's words otherwise.
KV_SHOT=shot
shot_until() { kv_shot_until_fact "$@"; }
pixels() { kv_pixel_fact "$@"; }

# Waits until process $1 has ended (up to $2 seconds); the test ends otherwise.
wait_gone() { kv_expect_gone "$@"; }

# No kovaren of ours is left running.
no_saver_left() {
  local left
  left=$(pgrep -f "^$kovaren( |$)" || true)
  [[ -z $left ]] || fail "kovaren still running: $left"
}

# start_saver ARGS...: kovaren as the saver's user; sets saver_pid.
start_saver() {
  user_exec "$kovaren" "$@" >"$work/kovaren.log" 2>&1 &
  saver_pid=$!
  kv_track_pid "$saver_pid"
}

# The saver's shared memory is anonymous (memfd): once it has ended, the saver's user holds no file
# in /dev/shm made since sway started.
no_shm_left() {
  local owner left
  owner=$( ((${#as_user[@]})) && echo "$SAVER_USER" || id -u)
  left=$(find /dev/shm -maxdepth 1 -uid "$owner" -newer "$work/sway.conf" 2>/dev/null | head -3)
  [[ -z $left ]] || fail "shared memory left behind: $left"
}

# press_key: one key, as wtype types it. Its virtual keyboard appears with it and is gone when it
# ends; the pause lets a client bind the new keyboard before the key, as it has long done with a
# real one. The 1 s a saver has to end counts from here.
press_key() { user wtype -s 300 a; }
