#!/usr/bin/env bash
# The preview inside a host's preview area: it becomes a borderless child titled "Preview Window"
# covering the area whatever its size, goes away within a second however the host goes, ends at once
# without a host, and never depends on the settings file. Under Wine a child of another process shows
# none of its drawing, so the picture itself is checked by the asset and renderer tests, not here.
set -u
source "$KOVAREN_SOURCE_DIR/tests/e2e/win32/harness.sh"
kv_start

HOST="$KOVAREN_WIN_BUILD/preview_host.exe"
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
# "wide": the handle printed as an unsigned 64-bit number with the upper 32 bits set, as 64-bit hosts may.
for form in space colon wide; do
  host "form-$form" --form "$form" --end exit --after 300
  kv_check "with the ${form} form the host sees one child titled \"Preview Window\" covering 152 x 112" \
    expect_child "$REPORTS/form-$form.txt" 152 112
  kv_wait_exit "$HOST_PID" 10 >/dev/null
done
kv_check "the wide form gave the handle with the upper 32 bits set" \
  test "$(($(value "$REPORTS/form-wide.txt" handle_given) >> 32 & 0xFFFFFFFF))" = $((0xFFFFFFFF))

# Larger areas are covered (the picture sits top-left on black), smaller ones too (the picture is
# cut). 2400 pixels, far larger than any preview box, is still covered, not cut.
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

# --- What it draws, seen in-process --------------------------------------------------------------------
# The host runs the preview inside its own process, where drawing reaches the screen, with the picture
# embedded in Kovaren.scr or with none. A shot of the area then shows exactly what the preview paints.
PICTURE="$KOVAREN_SOURCE_DIR/assets/preview/preview.bmp"
# in_process NAME WxH [--scr PATH]: runs it, leaves the area's screenshot in $KV_ARTIFACTS/NAME-area.png.
in_process() {
  local name=$1 size=$2
  shift 2
  local report="$REPORTS/$name.txt"
  rm -f "$report" "$report.end"
  kv_launch_exe "$HOST" --in-process --size "$size" --after 2500 --report "$(kv_windows_path "$report")" "$@"
  local pid=$KV_PID
  wait_file "$report" 15 ready
  kv_check "$name: the preview is the area's one borderless child covering $size" \
    expect_child "$report" "${size%x*}" "${size#*x}"
  sleep 0.5
  kv_shot "$KV_ARTIFACTS/$name.png"
  # One pixel of margin all round, to see that nothing is drawn outside the area.
  local w=${size%x*} h=${size#*x}
  convert "$KV_ARTIFACTS/$name.png" -crop "$((w + 2))x$((h + 2))+$(($(value "$report" area_x) - 1))+$(($(value "$report" area_y) - 1))" \
    +repage "$KV_ARTIFACTS/$name-area.png"
  wait_file "$report.end" 10
  kv_check "$name: the preview returns within 1 s of its area being destroyed ($(tr '\n' ' ' <"$report.end" 2>/dev/null))" \
    eval "[[ \$(value '$report.end' returned_after_destroy) == 1 ]] && ((\$(value '$report.end' returned_ms) <= 1000))"
  kv_wait_exit "$pid" 10 >/dev/null
}
# expect_area AREA.png W H [PICTURE]: inside the 1-pixel margin, the picture's top-left part (all of it
# when it fits) at (0, 0) unscaled and black everywhere else; not one black pixel in the margin, which
# belongs to the host.
expect_area() {
  local shot=$1 w=$2 h=$3 picture=${4:-}
  local expected="$shot.expected.png" pw=0 ph=0 picture_part=()
  if [[ -n $picture ]]; then
    read -r pw ph < <(identify -format '%w %h' "$picture")
    picture_part=("(" "$picture" -crop "$((pw < w ? pw : w))x$((ph < h ? ph : h))+0+0" +repage ")" -geometry +0+0 -composite)
  fi
  convert -size "${w}x${h}" xc:black "${picture_part[@]}" -depth 8 -type TrueColor "PNG24:$expected"
  local inside
  convert "$shot" -crop "${w}x${h}+1+1" +repage -depth 8 -type TrueColor "PNG24:$shot.inside.png"
  inside=$(compare -metric AE "$shot.inside.png" "$expected" null: 2>&1)
  local margin_black
  margin_black=$(convert "$shot" -fill white -draw "rectangle 1,1 $w,$h" -fill white +opaque black -negate \
    -format '%[fx:round(mean*w*h)]' info:)
  kv_log "$shot: $inside pixels differ inside, $margin_black black pixels in the margin"
  [[ $inside == 0 && $margin_black == 0 ]]
}
in_process drawn-200x150 200x150 --scr "$SCR"
kv_check "a 200 x 150 area shows the whole picture top-left, black right and below, pixel for pixel" \
  expect_area "$KV_ARTIFACTS/drawn-200x150-area.png" 200 150 "$PICTURE"
in_process drawn-100x80 100x80 --scr "$SCR"
kv_check "a 100 x 80 area shows the picture cut to it, unscaled, pixel for pixel" \
  expect_area "$KV_ARTIFACTS/drawn-100x80-area.png" 100 80 "$PICTURE"
in_process no-picture 200x150
kv_check "without a picture the preview is plain black" expect_area "$KV_ARTIFACTS/no-picture-area.png" 200 150

# --- Without a host the preview ends at once and shows nothing ---------------------------------------
# ended_at_once REPORT: ended within 2 s (start-up under Wine on a busy machine included) with no
# "Preview Window" seen at any time.
ended_at_once() {
  [[ $(value "$1" ended) == 1 ]] && (($(value "$1" ran_ms) <= 2000)) && [[ $(value "$1" preview_window_seen) == 0 ]]
}
# A number past 64 bits names no window either.
for args in "/p 0" "/p:0" "/p" "/p {dead}" "/p:{dead}" "/p 1" "/p 18446744073709551616"; do
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
