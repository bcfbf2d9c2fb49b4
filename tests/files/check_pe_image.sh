#!/usr/bin/env bash
# Kovaren.scr as a file, for one build: check_pe_image.sh win32|win64 FILE VERSION. A GUI executable of that
# architecture (PE32 i386 or PE32+ x86-64) that imports only Windows system DLLs (nothing of the
# compiler's runtime), carrying its icon, its Japanese version record and a manifest that names the
# same architecture (64-bit Windows refuses a 64-bit program whose manifest says x86; Wine does not
# check, so the file itself is checked here). Needs no Wine.
source "$KOVAREN_SOURCE_DIR/tests/e2e/win32/harness.sh"
arch=${1:?win32 or win64} scr=${2:?the Kovaren.scr to check} version=${3:?the version it must carry}
[[ -f $scr ]] || kv_die "no $scr"
headers=$(objdump -p "$scr") || kv_die "objdump cannot read $scr"

case $arch in
  win32) format=pei-i386 magic=010b manifest_arch=x86 ;;
  win64) format=pei-x86-64 magic=020b manifest_arch=amd64 ;;
  *) kv_die "unknown architecture $arch" ;;
esac
kv_check "$arch: file format $format" grep -q "file format $format\$" <<<"$headers"
kv_check "$arch: optional header magic $magic" grep -Eq "^Magic[[:space:]]+$magic" <<<"$headers"
kv_check "GUI subsystem" grep -Eq '^Subsystem[[:space:]]+00000002' <<<"$headers"

# Imports: every DLL must be one that every Windows installation has.
system_dlls='^(kernel32|user32|gdi32|msvcrt|winmm|comdlg32|shell32|msimg32|comctl32|advapi32|ole32|shlwapi|uxtheme|version|wtsapi32)\.dll$'
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
for text in "041104b0" "Kovaren (Screen Saver)" "Kovaren.scr" "$version" "Kovaren developers"; do
  kv_check "version record holds '$text'" grep -qxF "$text" <<<"$wide"
done
kv_check "InternalName is Kovaren" bash -c 'grep -A1 -xF InternalName | grep -qxF Kovaren' <<<"$wide"

# Manifest: per-monitor DPI aware with the older fallback, common controls 6, and no elevation request
# (one would ask for administrator rights at every start; a saver whose folder is read-only keeps its
# settings in the per-user file instead).
narrow=$(strings -a "$scr")
kv_check "manifest: PerMonitorV2" grep -q '<dpiAwareness[^>]*>PerMonitorV2' <<<"$narrow"
kv_check "manifest: dpiAware fallback" grep -q '<dpiAware [^>]*>true' <<<"$narrow"
kv_check "manifest: common controls 6" grep -q 'Microsoft.Windows.Common-Controls" version="6.0.0.0"' <<<"$narrow"
kv_check "manifest: no requestedExecutionLevel" bash -c '! grep -q requestedExecutionLevel' <<<"$narrow"
own_identity=$(grep -o '<assemblyIdentity[^>]*name="Kovaren.ScreenSaver"[^>]*>' <<<"$narrow")
kv_check "manifest: processorArchitecture is $manifest_arch" grep -q "processorArchitecture=\"$manifest_arch\"" <<<"$own_identity"

kv_finish
