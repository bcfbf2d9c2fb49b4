# End-to-end harness: runs the real Kovaren.scr under Wine on a private X server and checks what a user
# would see. Source it from a test script, then:
#
#   source "$KOVAREN_SOURCE_DIR/tests/e2e/win32/harness.sh"   (it sources the shared kit, ../kit/kit.sh)
#   kv_start
#   kv_launch /s;  kv_wait_window Tesmar_Main 5 >/dev/null;  kv_shot "$KV_ARTIFACTS/saver.png"
#   kv_check "the saver covers the screen" test "$(kv_pixel "$KV_ARTIFACTS/saver.png" 5 5)" != "0 0 0"
#   kv_finish
#
# Everything the harness starts (X server, sound server, wineserver, programs) is stopped by an exit trap,
# by PID, and only that. Environment (set by CTest; see CMakeLists.txt):
#   KOVAREN_SOURCE_DIR    the repository
#   KOVAREN_WIN_BUILD     folder with Kovaren.scr and the test hosts (*.exe) of the build under test
#   KOVAREN_WIN_ARCH      its architecture, win64 or win32: the Wine that runs it (see wine_arch.sh)
#   KOVAREN_NATIVE_BUILD  the native build folder (artifacts go below it)
#   KOVAREN_E2E_TEMPLATE  the booted template prefix of that architecture (tests/e2e/win32/fixture_setup.sh)
#
# Variables set by kv_start:
#   KV_APP_DIR      folder (inside the prefix, C:\kovaren) holding a fresh Kovaren.scr; its settings
#                   file is $KV_APP_DIR/Kovaren.ini
#   KV_ARTIFACTS    folder for screenshots and reports, kept after the test (under the native build,
#                   e2e-artifacts/ARCH/NAME)
#   KV_ARCH         the architecture under test (win64 or win32)
#   KV_DESKTOP_PNG  screenshot of the screen as shown before any program ran (the known desktop)
#   KV_PULSE_PID    the sound server's PID (a test may kill it, then call kv_restart_sound_server)
#   KV_PID          set by kv_launch / kv_launch_exe / kv_launch_raw: the Unix PID of the program
#   KV_SCREEN_W, KV_SCREEN_H   1024 x 768
#   DISPLAY, WINEPREFIX, XDG_RUNTIME_DIR, PULSE_SERVER   exported for the programs the test starts;
#   `wine`, `wineserver`, `wineboot` and `regedit` on PATH run the architecture under test

source "$KOVAREN_SOURCE_DIR/tests/e2e/kit/kit.sh"

KV_SCREEN_W=1024
KV_SCREEN_H=768
KV_WINESERVER_PID=
KV_FINISH_HOOK=kv_show_wine_log

# The generated desktop: a 4 x 3 grid of 256 x 256 blocks in these colours (row by row), chosen far from
# the leaves' reds, yellows and greens so that a leaf over the desktop is never mistaken for it.
KV_DESKTOP_COLOURS=(
  "31 59 115" "46 134 193" "72 201 176" "125 60 152"
  "93 109 126" "213 216 220" "23 32 42" "169 204 227"
  "136 78 160" "245 183 177" "52 73 94" "253 254 254"
)

# kv_make_desktop FILE : writes the known desktop picture (1024 x 768 PNG, 24-bit, the grid above, with a
# white 1-pixel frame round the screen's edge and a black diagonal through the top-left block so that a
# flipped or shifted copy is easy to tell).
kv_make_desktop() {
  local file=$1 draw=() i x y
  for i in "${!KV_DESKTOP_COLOURS[@]}"; do
    x=$(((i % 4) * 256)) y=$(((i / 4) * 256))
    read -r r g b <<<"${KV_DESKTOP_COLOURS[$i]}"
    draw+=(-fill "rgb($r,$g,$b)" -draw "rectangle $x,$y $((x + 255)),$((y + 255))")
  done
  convert -size ${KV_SCREEN_W}x${KV_SCREEN_H} xc:black "${draw[@]}" \
    -fill none -stroke white -strokewidth 1 -draw "rectangle 0,0 $((KV_SCREEN_W - 1)),$((KV_SCREEN_H - 1))" \
    -stroke black -draw "line 16,16 240,240" +antialias -depth 8 -type TrueColor "PNG24:$file"
}

# kv_desktop_colour X Y : prints "R G B" of the generated desktop's block at (X, Y) (ignores the frame
# and the diagonal; probe block interiors).
kv_desktop_colour() { echo "${KV_DESKTOP_COLOURS[$((($2 / 256) * 4 + $1 / 256))]}"; }

# kv_start : sets up the private world for one test (a few seconds): X server, desktop, sound, Wine.
kv_start() {
  KV_STARTED=$SECONDS
  : "${KOVAREN_SOURCE_DIR:?}" "${KOVAREN_WIN_BUILD:?}" "${KOVAREN_E2E_TEMPLATE:?}"
  KV_ARCH=${KOVAREN_WIN_ARCH:-win64}
  local native=${KOVAREN_NATIVE_BUILD:-$KOVAREN_SOURCE_DIR/build/native}
  local name
  name=$(basename "${BASH_SOURCE[1]:-$0}" .sh)
  [[ -f $KOVAREN_WIN_BUILD/Kovaren.scr ]] || kv_die "no Kovaren.scr in $KOVAREN_WIN_BUILD"
  # A test run by hand may come before the fixture; boot the template then (it is a no-op when current).
  bash "$KOVAREN_SOURCE_DIR/tests/e2e/win32/fixture_setup.sh" >&2 || kv_die "template prefix not booted"

  KV_TMP=$(mktemp -d "${native}/e2e-run.${KV_ARCH}.${name}.XXXXXX") || kv_die "no scratch folder"
  KV_PID_FILE=$KV_TMP/pids
  trap kv_cleanup EXIT
  trap 'exit 130' INT TERM
  KV_ARTIFACTS=$native/e2e-artifacts/$KV_ARCH/$name
  rm -rf "$KV_ARTIFACTS" && mkdir -p "$KV_ARTIFACTS"

  source "$KOVAREN_SOURCE_DIR/tests/e2e/win32/wine_arch.sh"
  kv_use_wine_arch "$KV_ARCH" "$KOVAREN_E2E_TEMPLATE/bin" || kv_die "no Wine for $KV_ARCH"
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  export HOME=$KOVAREN_E2E_TEMPLATE/home LOCPATH=$KOVAREN_E2E_TEMPLATE/locale
  export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 2>/dev/null  # bash cannot see LOCPATH; the programs can
  # Sockets live in a short folder of their own: a Unix socket's path is cut at 107 bytes, and the
  # scratch folder sits as deep as the checkout does.
  XDG_RUNTIME_DIR=$(mktemp -d "${TMPDIR:-/tmp}/kv.XXXXXX") || kv_die "no folder for sockets"
  export XDG_RUNTIME_DIR
  echo "$XDG_RUNTIME_DIR" >"$KV_TMP/runtime_dir"
  KV_SCRATCH=("$KV_TMP" "$XDG_RUNTIME_DIR")
  local socket=$XDG_RUNTIME_DIR/pulse/native
  ((${#socket} <= 107)) || kv_die "the sound server's socket path is too long (${#socket} bytes > 107): $socket"
  export PULSE_SERVER=unix:$socket

  kv_start_xvfb "${KV_SCREEN_W}x${KV_SCREEN_H}" "$KV_TMP"

  # Prefix and sound server start while the desktop picture is drawn.
  export WINEPREFIX=$KV_TMP/prefix
  cp -a "$KOVAREN_E2E_TEMPLATE/prefix" "$WINEPREFIX" &
  local copy_pid=$!
  kv_start_pulse "$KV_TMP/pulse.log"

  # The desktop is a plain, undecorated window that ignores input (no window manager runs); the root's
  # own background would not survive other windows closing.
  local viewer=$KOVAREN_E2E_TEMPLATE/desktop_view
  if [[ ! -x $viewer || $KOVAREN_SOURCE_DIR/tests/e2e/win32/desktop_view.c -nt $viewer ]]; then
    cc -O2 -o "$viewer.$$" "$KOVAREN_SOURCE_DIR/tests/e2e/win32/desktop_view.c" -lX11 && mv "$viewer.$$" "$viewer" ||
      kv_die "could not build the desktop viewer (needs libx11-dev)"
  fi
  kv_make_desktop "$KV_TMP/desktop.png" && convert "$KV_TMP/desktop.png" -depth 8 "rgb:$KV_TMP/desktop.rgb" ||
    kv_die "could not draw the desktop picture"
  "$viewer" "$KV_TMP/desktop.rgb" $KV_SCREEN_W $KV_SCREEN_H >"$KV_TMP/display.log" 2>&1 &
  kv_track_pid $!

  wait "$copy_pid" || kv_die "could not copy the template prefix"
  wineserver -f -p &
  KV_WINESERVER_PID=$!
  kv_track_pid "$KV_WINESERVER_PID"
  kv_start_watchdog wineserver -k
  # The first program in a fresh prefix takes seconds while Wine's own services start; a throw-away one
  # takes that time now, beside the rest of the set-up, so that the test times only its own programs.
  wine cmd /c exit 0 >/dev/null 2>&1 </dev/null &
  local warm_pid=$!

  KV_APP_DIR=$WINEPREFIX/drive_c/kovaren
  mkdir -p "$KV_APP_DIR"
  cp "$KOVAREN_WIN_BUILD/Kovaren.scr" "$KV_APP_DIR/"

  # The reference shot: the screen as shown, once the desktop window has painted.
  KV_DESKTOP_PNG=$KV_ARTIFACTS/desktop.png
  local deadline=$((SECONDS + 10))
  until [[ $(kv_screen_pixel 384 384) == "$(kv_desktop_colour 384 384)" &&
    $(kv_screen_pixel 896 640) == "$(kv_desktop_colour 896 640)" ]]; do
    ((SECONDS < deadline)) || kv_die "the desktop picture did not appear: $(cat "$KV_TMP/display.log")"
    sleep 0.05
  done
  kv_shot "$KV_DESKTOP_PNG"
  # Park the pointer in a corner so that programs do not start with it over something interesting.
  xdotool mousemove $((KV_SCREEN_W - 1)) $((KV_SCREEN_H - 1))

  kv_wait_pulse "$KV_TMP/pulse.log" 10
  wait "$warm_pid" || kv_log "warning: the warm-up program failed in $WINEPREFIX"
  kv_log "ready in $((SECONDS - KV_STARTED)) s on $DISPLAY, $KV_ARCH prefix $WINEPREFIX"
}

# kv_restart_sound_server : the sound server again, after a test killed it (KV_PULSE_PID), on the
# same socket; returns once it answers.
kv_restart_sound_server() {
  kv_start_pulse "$KV_TMP/pulse.log"
  kv_wait_pulse "$KV_TMP/pulse.log" 10
}

# kv_cleanup : the exit trap. Stops what this harness started, by PID, and removes the scratch folder.
kv_cleanup() {
  if [[ -n $KV_WINESERVER_PID ]]; then
    wineserver -k 2>/dev/null   # ends every program of this prefix, then the server
    wait "$KV_WINESERVER_PID" 2>/dev/null
  fi
  kv_stop_tracked   # what is left: programs outside the prefix, the desktop, sound and X servers
  [[ -n ${XDG_RUNTIME_DIR:-} && -f ${KV_TMP:-}/runtime_dir ]] && rm -rf "$XDG_RUNTIME_DIR"
  [[ -n ${KV_TMP:-} && -d $KV_TMP ]] && rm -rf "$KV_TMP"
  return 0
}

# kv_windows_path UNIXPATH : prints the path as Wine's Z: drive sees it.
kv_windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }

# kv_launch ARGS... : starts Kovaren.scr from $KV_APP_DIR with ARGS (Wine joins them with blanks and
# quotes any that hold a blank); sets KV_PID.
kv_launch() { kv_launch_exe "$KV_APP_DIR/Kovaren.scr" "$@"; }

# kv_launch_exe PATH ARGS... : starts any Windows program (e.g. a test host) under Wine; sets KV_PID.
kv_launch_exe() {
  local exe=$1
  shift
  (cd "$(dirname "$exe")" && exec wine "$exe" "$@") >>"$KV_ARTIFACTS/wine.log" 2>&1 &
  KV_PID=$!
  kv_track_pid "$KV_PID"
}

# kv_start_saver WHAT [SECS [PROGRAM]] : starts the saver (/s of Kovaren.scr in $KV_APP_DIR, or of
# PROGRAM), waits up to SECS (default 10) for its window and records the check WHAT that it showed.
# Sets KV_SAVER_PID and KV_SAVER_WIN (the X window id, empty when none showed). Not for $(...).
kv_start_saver() {
  local what=$1 secs=${2:-10} program=${3:-$KV_APP_DIR/Kovaren.scr}
  kv_launch_exe "$program" /s
  KV_SAVER_PID=$KV_PID
  KV_SAVER_WIN=$(kv_wait_window Tesmar_Main "$secs")
  kv_check "$what" test -n "$KV_SAVER_WIN"
}

# kv_run_exe SECS PATH ARGS... : runs a Windows program (a host, a setup program) and waits up to SECS
# for it; true when it ended in time with status 0.
kv_run_exe() {
  local secs=$1
  shift
  kv_launch_exe "$@"
  kv_wait_exit "$KV_PID" "$secs" && [[ $KV_EXIT_STATUS == 0 ]]
}

# kv_deliver ARGS... : power_host.exe delivers a notification as the system would (display off/on,
# session lock, display change); true when it did.
kv_deliver() { kv_run_exe 10 "$KOVAREN_WIN_BUILD/power_host.exe" "$@"; }

# kv_pass_count : asks the running saver of this prefix how many passes it has run (pass_count_host.exe,
# the same wineserver) and prints the count, its low 32 bits; prints nothing and returns non-zero when
# there is no saver or it does not answer (why: $KV_ARTIFACTS/pass_count.log). Always without Wine's
# traces: a host's +gdi lines in the saver's log would be read as the saver's GDI objects.
kv_pass_count() {
  local count
  count=$(WINEDEBUG=-all timeout 10 wine "$KOVAREN_WIN_BUILD/pass_count_host.exe" </dev/null \
    2>>"$KV_ARTIFACTS/pass_count.log") || return 1
  [[ $count =~ ^[0-9]+$ ]] || return 1
  echo "$count"
}

# kv_cpu_permille PID SECS : per mille of one core that PID used (user + system) over SECS seconds.
kv_cpu_permille() {
  local t0 c0 c1 t1
  t0=$(date +%s%N); c0=$(kv_cpu_ticks "$1")
  sleep "$2"
  c1=$(kv_cpu_ticks "$1"); t1=$(date +%s%N)
  echo $(((c1 - c0) * 1000 * 1000000000 / $(getconf CLK_TCK) / (t1 - t0)))
}
# utime + stime, fields 14 and 15 of /proc/PID/stat (a Windows program's name has no blanks there).
kv_cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# kv_launch_raw COMMANDTEXT : starts Kovaren.scr with exactly this command text after its name and one
# blank (e.g. " /s" with a blank first, which Wine's argument joining cannot express). Goes through
# launch_host.exe, which passes the text verbatim to CreateProcessW and lives as long as the child;
# KV_PID is the launcher's PID, so kv_wait_exit waits for Kovaren.scr.
kv_launch_raw() {
  local text=$1
  kv_launch_exe "$KOVAREN_WIN_BUILD/launch_host.exe" "$(kv_windows_path "$KV_APP_DIR/Kovaren.scr")" \
    "Kovaren.scr $text"
}

# kv_wait_window TITLE [SECS] : waits (default 10 s) for a visible window whose title is exactly TITLE;
# prints its X window id. Returns 1 on time-out.
kv_wait_window() {
  local title=$1 secs=${2:-10} id
  local deadline=$((SECONDS + secs))
  local pattern
  pattern="^$(printf '%s' "$title" | sed 's/[][\.*^$()+?{}|]/\\&/g')\$"
  while :; do
    id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n1)
    [[ -n $id ]] && { echo "$id"; return 0; }
    ((SECONDS < deadline)) || return 1
    sleep 0.05
  done
}

# kv_wait_no_window TITLE [SECS] : waits (default 10 s) until no visible window has the title TITLE.
kv_wait_no_window() {
  local title=$1 secs=${2:-10}
  local deadline=$((SECONDS + secs))
  local pattern
  pattern="^$(printf '%s' "$title" | sed 's/[][\.*^$()+?{}|]/\\&/g')\$"
  while xdotool search --onlyvisible --name "$pattern" >/dev/null 2>&1; do
    ((SECONDS < deadline)) || return 1
    sleep 0.05
  done
}

# kv_window_names : prints the title of every visible window except the desktop, one a line (for
# "nothing else is on screen" checks).
kv_window_names() {
  local id
  for id in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
    xdotool getwindowname "$id" 2>/dev/null
  done | grep -v '^kv_desktop$' | sort
}

# kv_wait_exit PID [SECS] : waits (default 10 s) for a program started by kv_launch* to end. Returns 0
# when it ended in time, 1 when it still runs. Sets KV_WAITED_MS (how long it waited) and, when the
# program ended, KV_EXIT_STATUS. Call it directly, not inside $(...): only this shell can reap the child.
kv_wait_exit() {
  KV_EXIT_STATUS=
  kv_wait_gone "$1" "${2:-10}" || return 1
  wait "$1" 2>/dev/null
  KV_EXIT_STATUS=$?
  return 0
}

# kv_why_no_window PID : after a window did not show, logs whether the program still runs or how it
# ended, which tells a slow start from one that ended by itself.
kv_why_no_window() {
  local state="still runs"
  kv_wait_exit "$1" 0 && state="had ended (exit status $KV_EXIT_STATUS)"
  kv_log "  the program $state; visible windows: $(kv_window_names | tr '\n' ' ')"
}

# kv_key KEYSYM [WIN] : presses and releases a key (X keysym names: Escape, Left, a, space ...); with WIN
# (an X window id) the window is activated first, since keys go to the focused window.
kv_key() {
  if [[ -n ${2:-} ]]; then
    xdotool windowfocus --sync "$2" 2>/dev/null || xdotool windowfocus "$2"
  fi
  xdotool key "$1"
}

# kv_click X Y [BUTTON] : moves the pointer to screen point (X, Y) and clicks (default button 1).
kv_click() { xdotool mousemove "$1" "$2" click "${3:-1}"; }

# kv_move X Y : moves the pointer to screen point (X, Y).
kv_move() { xdotool mousemove "$1" "$2"; }

# kv_window_geometry WIN : prints "X Y W H" of an X window (screen position and size).
kv_window_geometry() {
  local info x y w h
  info=$(xwininfo -id "$1") || return 1
  x=$(awk '/Absolute upper-left X/ {print $NF}' <<<"$info")
  y=$(awk '/Absolute upper-left Y/ {print $NF}' <<<"$info")
  w=$(awk '/^ *Width:/ {print $NF}' <<<"$info")
  h=$(awk '/^ *Height:/ {print $NF}' <<<"$info")
  echo "$x $y $w $h"
}

# kv_write_ini LINE... : writes $KV_APP_DIR/Kovaren.ini from the given lines (UTF-8 in the script),
# converted to code page 932 with CR LF line ends, as the program's own file would be.
kv_write_ini() {
  printf '%s\r\n' "$@" | iconv -f UTF-8 -t CP932 >"$KV_APP_DIR/Kovaren.ini"
}

# kv_read_ini : prints $KV_APP_DIR/Kovaren.ini converted to UTF-8 (CR removed).
kv_read_ini() { iconv -f CP932 -t UTF-8 "$KV_APP_DIR/Kovaren.ini" | tr -d '\r'; }


# kv_show_wine_log : after a failure, the end of Wine's log (CI keeps only what the test printed).
kv_show_wine_log() {
  [[ -s $KV_ARTIFACTS/wine.log ]] || return 0
  kv_log "the last lines of $KV_ARTIFACTS/wine.log:"
  tail -n 30 "$KV_ARTIFACTS/wine.log" >&2
}
