#!/usr/bin/env bash
# Kovaren.scr as a file: a 32-bit GUI executable that imports only Windows system DLLs (nothing of the
# compiler's runtime), carrying its icon, its Japanese version record and its manifest.
source "$KOVAREN_SOURCE_DIR/tests/e2e/harness.sh"
scr=$KOVAREN_WIN32_BUILD/Kovaren.scr
[[ -f $scr ]] || kv_die "no $scr"
headers=$(objdump -p "$scr") || kv_die "objdump cannot read $scr"

kv_check "PE32 for i386" grep -q 'file format pei-i386' <<<"$headers"
kv_check "PE32 optional header (magic 010b)" grep -Eq '^Magic[[:space:]]+010b' <<<"$headers"
kv_check "GUI subsystem" grep -Eq '^Subsystem[[:space:]]+00000002' <<<"$headers"

# Imports: every DLL must be one that every Windows installation has.
system_dlls='^(kernel32|user32|gdi32|msvcrt|winmm|comdlg32|shell32|msimg32|comctl32|advapi32|ole32|shlwapi|uxtheme|version)\.dll$'
imports=$(awk '/DLL Name:/ {print tolower($3)}' <<<"$headers")
kv_check "imports some DLLs at all" test -n "$imports"
for dll in $imports; do
  kv_check "imports only system DLLs: $dll" grep -Eq "$system_dlls" <<<"$dll"
done

# Resource types at the directory's first level: 3 icon, 14 icon group, 16 version, 24 manifest.
resources=$(sed -n '/The .rsrc Resource Directory section/,$p' <<<"$headers")
types=$(grep -Eo '^[0-9a-f]+ {3}Entry: ID: 0x[0-9a-f]+' <<<"$resources" | awk '{print $NF}')
for row in "icon|0x000003" "icon group|0x00000e" "version record|0x000010" "manifest|0x000018"; do
  kv_check "${row%%|*} resource present" grep -qx "${row#*|}" <<<"$types"
done
version_language=$(grep -A4 -E '^[0-9a-f]+ {3}Entry: ID: 0x000010' <<<"$resources" |
  grep -Eo '^[0-9a-f]+ {7}Entry: ID: 0x[0-9a-f]+' | awk '{print $NF}' | head -n1)
kv_check "version record is in Japanese (0x0411)" test "$version_language" == 0x000411

# The version record's strings (UTF-16 in the file), and its language and code page block 041104b0.
wide=$(strings -el "$scr")
for text in "041104b0" "Kovaren (Screen Saver)" "Kovaren.scr" "1.00" "Kovaren developers"; do
  kv_check "version record holds '$text'" grep -qxF "$text" <<<"$wide"
done
kv_check "InternalName is Kovaren" bash -c 'grep -A1 -xF InternalName | grep -qxF Kovaren' <<<"$wide"

# Manifest: per-monitor DPI aware with the older fallback, common controls 6, and no elevation request
# (a saver in a system folder then keeps a writable settings file through file virtualisation).
narrow=$(strings -a "$scr")
kv_check "manifest: PerMonitorV2" grep -q '<dpiAwareness[^>]*>PerMonitorV2' <<<"$narrow"
kv_check "manifest: dpiAware fallback" grep -q '<dpiAware [^>]*>true' <<<"$narrow"
kv_check "manifest: common controls 6" grep -q 'Microsoft.Windows.Common-Controls" version="6.0.0.0"' <<<"$narrow"
kv_check "manifest: no requestedExecutionLevel" bash -c '! grep -q requestedExecutionLevel' <<<"$narrow"

kv_finish
