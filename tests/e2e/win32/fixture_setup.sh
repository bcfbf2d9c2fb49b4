#!/usr/bin/env bash
# Boots the template Wine prefix that every end-to-end test copies (cp -a is far quicker than a boot).
# Runs once per build folder and architecture ($KOVAREN_WIN_ARCH: win64 or win32); a stamp holding
# this script's checksum and the architecture says the template is current.
#
#   $KOVAREN_E2E_TEMPLATE/prefix    booted prefix of that architecture: unmanaged X11 windows, Japanese
#                                   font replacements
#   $KOVAREN_E2E_TEMPLATE/bin       launchers that run that architecture's Wine (see wine_arch.sh)
#   $KOVAREN_E2E_TEMPLATE/locale    ja_JP.UTF-8 compiled privately (the system may have no Japanese locale)
#   $KOVAREN_E2E_TEMPLATE/home      HOME for Wine, so nothing of the real home leaks into the prefix
set -euo pipefail

: "${KOVAREN_E2E_TEMPLATE:?KOVAREN_E2E_TEMPLATE must name the template folder}"
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
template=${KOVAREN_E2E_TEMPLATE%/}
[[ -n $template && $template != "${HOME:-}" ]] || { echo "refusing template folder: $KOVAREN_E2E_TEMPLATE" >&2; exit 1; }
arch=${KOVAREN_WIN_ARCH:-win64}
stamp_value="$(cat "$here/fixture_setup.sh" "$here/wine_arch.sh" | sha1sum | cut -d' ' -f1) $arch"

if [[ -f $template/.ready && $(cat "$template/.ready") == "$stamp_value" ]]; then
  echo "template prefix is current: $template"
  exit 0
fi

source "$here/wine_arch.sh"
for tool in wineboot localedef iconv; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool (run scripts/setup)" >&2; exit 1; }
done

# The stamp is written last, so a half-booted template is never used: the next run boots it again.
rm -rf "$template"
mkdir -p "$template"
work=$template
# On failure, stop whatever Wine left running in this prefix (and only there).
booted=false
stop_wine() {
  if [[ $booted == false && -d $work/prefix ]]; then WINEPREFIX=$work/prefix wineserver -k 2>/dev/null || true; fi
}
trap stop_wine EXIT

started=$SECONDS
mkdir -p "$work/home" "$work/locale"
kv_use_wine_arch "$arch" "$work/bin" || exit 1
localedef -i ja_JP -f UTF-8 "$work/locale/ja_JP.UTF-8" 2>/dev/null ||
  [[ -f $work/locale/ja_JP.UTF-8/LC_CTYPE ]] || { echo "localedef ja_JP.UTF-8 failed" >&2; exit 1; }

export HOME=$work/home WINEPREFIX=$work/prefix WINEDEBUG=-all
export LOCPATH=$work/locale
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 2>/dev/null  # bash itself cannot see LOCPATH yet; children do
# No Mono or Gecko installer prompts; no X display is needed for booting.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY

# The server is not persistent here: it must exit by itself so that `wineserver -w` returns once the
# registry is on disk.
# A 64-bit prefix without 32-bit Wine reports a missing syswow64 program; that is harmless, and the
# registry check below tells a real failure.
wineboot -i >/dev/null 2>&1 || true

# Without a window manager, Wine waits 2 s for every hidden window unless its windows are unmanaged.
# The font names are the two Japanese system Gothics; Wine does not substitute them by itself.
reg_utf8=$(
  printf 'Windows Registry Editor Version 5.00\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n"Managed"="N"\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
  printf '"ＭＳ Ｐゴシック"="IPAPGothic"\r\n"ＭＳ ゴシック"="IPAGothic"\r\n\r\n'
)
{ printf '\xff\xfe'; printf '%s' "$reg_utf8" | iconv -f UTF-8 -t UTF-16LE; } >"$work/kovaren.reg"
wine regedit /S "$(printf 'Z:%s' "$work/kovaren.reg" | tr / '\\')" >/dev/null 2>&1
wineserver -w
grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" || { echo "registry import failed" >&2; exit 1; }

booted=true
echo "$stamp_value" >"$template/.ready"
echo "$arch template prefix booted in $((SECONDS - started)) s: $template"
