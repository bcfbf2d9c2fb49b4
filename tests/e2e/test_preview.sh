#!/usr/bin/env bash
# The preview inside a host's preview area: it becomes a borderless child titled "Preview Window"
# covering the area whatever its size, goes away within a second however the host goes, ends at once
# without a host, and never depends on the settings file. Under Wine a child of another process shows
# none of its drawing, so the picture itself is checked by the asset and renderer tests, not here.
set -u
source "$KOVAREN_SOURCE_DIR/tests/e2e/harness.sh"
kv_start

HOST="$KOVAREN_WIN32_BUILD/preview_host.exe"
REPORTS="$KV_ARTIFACTS/preview"
mkdir -p "$REPORTS"

SCR="$(kv_windows_path "$KV_APP_DIR/Kovaren.scr")"

# value FILE KEY: the value of a "key value" line of a report.
value() { awk -v k="$2" '$1 == k { print $2; exit }' "$1" 2>/dev/null; }
# wait_file FILE [SECS] [WORD]: until FILE exists (and holds WORD).
wait_file() {
  local file=$1 secs=${2:-15} word=${3:-} i
  for ((i = 0; i < secs * 10; i++)); do
    if [[ -f $file ]] && { [[ -z $word ]] || grep -q "^$word" "$file"; }; then return 0; fi
    sleep 0.1
  done
  return 1
}
# The one child line of a host report, or nothing when the area holds not exactly one child.
only_child() { [[ $(value "$1" children) == 1 ]] && grep '^child ' "$1"; }
# expect_child REPORT W H: the area's one child is the preview, covering it exactly.
expect_child() {
  local line
  line=$(only_child "$1") || return 1
  [[ $line == "child title=\"Preview Window\" class=Tesmar_R x=0 y=0 w=$2 h=$3 visible=1 child_style=1 popup_style=0 border=0 from_preview=1 parent_is_area=1" ]]
}

expect_child_in_process() {
  local line
  line=$(only_child "$1") || return 1
  [[ $line == "child title=\"Preview Window\" class=Tesmar_R x=0 y=0 w=200 h=150 visible=1 child_style=1 popup_style=0 border=0 from_preview=1 parent_is_area=1" ]]
}

# host NAME ARGS...: starts the host, waits for its report; the host ends itself shortly after.
host() {
  local name=$1
  shift
  rm -f "$REPORTS/$name.txt"
  kv_launch_exe "$HOST" --scr "$SCR" --report "$(kv_windows_path "$REPORTS/$name.txt")" "$@"
  HOST_PID=$KV_PID
  wait_file "$REPORTS/$name.txt" 20 ready
}

# --- The preview becomes the area's child, for both ways of naming the host and any area size -------
for form in space colon; do
  host "form-$form" --form "$form" --end exit --after 300
  kv_check "with the ${form} form the host sees one child titled \"Preview Window\" covering 152 x 112" \
    expect_child "$REPORTS/form-$form.txt" 152 112
  kv_wait_exit "$HOST_PID" 10 >/dev/null
done

# Larger areas are covered (the picture sits top-left on black), smaller ones too (the picture is
# cut). 2400 pixels is beyond what 16-bit twips can hold at 15 per pixel: still covered, not cut.
for size in 200x150 100x80 2400x1300; do
  host "size-$size" --size "$size" --end exit --after 300
  kv_check "a ${size} area is covered by the preview" expect_child "$REPORTS/size-$size.txt" "${size%x*}" "${size#*x}"
  kv_wait_exit "$HOST_PID" 10 >/dev/null
done

# --- However the host goes, the preview's process is gone within one second --------------------------
# destroy: the host destroys its area and lives on; exit: its process ends with every window still
# there; kill: its process is killed.
gone_within_a_second() { [[ $(value "$1" preview_gone) == 1 ]] && (($(value "$1" preview_gone_ms) <= 1000)); }
for way in destroy exit kill; do
  end=$way
  [[ $way == kill ]] && end=stay
  watch="$REPORTS/watch-$way.txt"
  rm -f "$watch" "$watch.end"
  host "life-$way" --end "$end" --after 1500 --mark "$(kv_windows_path "$watch.end")"
  report="$REPORTS/life-$way.txt"
  host_pid=$HOST_PID
  kv_check "the preview is in place before the host goes by $way" expect_child "$report" 152 112
  kv_launch_exe "$HOST" --watch "$(value "$report" host_pid)" "$(value "$report" area_hwnd)" \
    "$(value "$report" preview_pid)" --report "$(kv_windows_path "$watch")"
  if [[ $way == kill ]]; then
    sleep 1.5
    kill -KILL "$host_pid"
  fi
  wait_file "$watch" 30
  kv_check "when the host goes by $way, the preview's process is gone within 1 s ($(tr '\n' ' ' <"$watch"))" \
    gone_within_a_second "$watch"
  [[ $way == destroy ]] && kv_wait_exit "$host_pid" 15 >/dev/null
done

# --- What it draws, seen in-process: black over the whole area, no border, nothing outside it --------
# The host runs the preview inside its own process (where drawing reaches the screen); it carries no
# preview picture, so this also shows that a missing picture leaves a plain black preview.
inproc="$REPORTS/in-process.txt"
rm -f "$inproc" "$inproc.end"
kv_launch_exe "$HOST" --in-process --size 200x150 --after 3000 --report "$(kv_windows_path "$inproc")"
inproc_pid=$KV_PID
wait_file "$inproc" 15 ready
kv_check "in-process, the preview is the area's one borderless child covering 200 x 150" \
  expect_child_in_process "$inproc"
sleep 0.5
shot="$KV_ARTIFACTS/preview-in-process.png"
kv_shot "$shot"
ax=$(value "$inproc" area_x) ay=$(value "$inproc" area_y)
for at in "0 0" "199 0" "0 149" "199 149" "100 75"; do
  read -r dx dy <<<"$at"
  kv_check "the preview is black at ($dx, $dy) of the area" test "$(kv_pixel "$shot" $((ax + dx)) $((ay + dy)))" = "0 0 0"
done
for at in "-3 75" "203 75" "100 -3" "100 153"; do
  read -r dx dy <<<"$at"
  kv_check "the preview draws nothing at ($dx, $dy) outside the area" \
    test "$(kv_pixel "$shot" $((ax + dx)) $((ay + dy)))" != "0 0 0"
done
wait_file "$inproc.end" 10
kv_check "in-process, the preview returns within 1 s of its area being destroyed ($(tr '\n' ' ' <"$inproc.end" 2>/dev/null))" \
  eval '[[ $(value "$inproc.end" returned_after_destroy) == 1 ]] && (($(value "$inproc.end" returned_ms) <= 1000))'
kv_wait_exit "$inproc_pid" 10 >/dev/null

# --- Without a host the preview ends at once and shows nothing ---------------------------------------
# ended_at_once REPORT: ended within 1.5 s (start-up under Wine included) with no "Preview Window" seen.
ended_at_once() {
  [[ $(value "$1" ended) == 1 ]] && (($(value "$1" ran_ms) <= 1500)) && [[ $(value "$1" preview_window_seen) == 0 ]]
}
for args in "/p 0" "/p:0" "/p" "/p {dead}" "/p:{dead}" "/p 1"; do
  name="nohost-$(tr -c 'a-z0-9' '_' <<<"$args")"
  rm -f "$REPORTS/$name.txt"
  kv_launch_exe "$HOST" --launch "$SCR" "$args" --report "$(kv_windows_path "$REPORTS/$name.txt")"
  wait_file "$REPORTS/$name.txt" 20
  kv_check "\"$args\" ends at once without showing a window ($(tr '\n' ' ' <"$REPORTS/$name.txt"))" \
    ended_at_once "$REPORTS/$name.txt"
done
kv_launch "/p 0"
kv_check "Kovaren.scr /p 0 started directly ends within 2 s" kv_wait_exit "$KV_PID" 2

# --- The settings file plays no part -----------------------------------------------------------------
INI="$KV_APP_DIR/Kovaren.ini"
{
  printf '\xff\xfe\x00garbage\r\n[Section\r\nBGM\x8b\xe6\x95\xaa=\x81\r\n=\r\n[Section]\r\n'
  head -c 70000 /dev/zero | tr '\0' 'x'
  printf '\r\n\x81'
} >"$INI"
before=$(sha256sum <"$INI")
host broken-ini --end exit --after 300
kv_check "a broken settings file does not change the preview" expect_child "$REPORTS/broken-ini.txt" 152 112
kv_wait_exit "$HOST_PID" 10 >/dev/null
kv_check "the broken settings file is left byte for byte as it was" test "$(sha256sum <"$INI")" = "$before"

rm -f "$INI"
mkdir "$INI"  # a folder where the file should be: unreadable as a file
host unreadable-ini --end exit --after 300
kv_check "an unreadable settings file does not change the preview" expect_child "$REPORTS/unreadable-ini.txt" 152 112
kv_wait_exit "$HOST_PID" 10 >/dev/null
kv_check "nothing was written in place of the unreadable settings file" test -d "$INI"
rmdir "$INI"

kv_finish
