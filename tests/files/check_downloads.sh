#!/usr/bin/env bash
# The download files as a user gets them: the zip holds exactly the two builds' Kovaren.scr (each the
# right one) and a README that Notepad shows right; each setup program is for its architecture and
# carries its version record; SHA256SUMS lists every download with its own hash. Environment (set by
# CTest): KOVAREN_DIST_DIR, KOVAREN_WIN32_BUILD, KOVAREN_WIN64_BUILD, KOVAREN_RELEASE, KOVAREN_DIST_STAGE
# (the copies of Kovaren.scr the downloads pack), KOVAREN_SIGNED (ON when the build signs).
set -u
: "${KOVAREN_DIST_DIR:?}" "${KOVAREN_WIN32_BUILD:?}" "${KOVAREN_WIN64_BUILD:?}" "${KOVAREN_RELEASE:?}"
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

zip=$KOVAREN_DIST_DIR/Kovaren-$KOVAREN_RELEASE-windows.zip
[[ -f $zip ]] || { echo "FAIL: no $zip" >&2; exit 1; }
check "the zip holds exactly x64/Kovaren.scr, x86/Kovaren.scr and README.txt" \
  test "$(unzip -Z1 "$zip" | sort | tr '\n' ' ')" == "README.txt x64/Kovaren.scr x86/Kovaren.scr "
unzip -q "$zip" -d "$scratch" || { echo "FAIL: the zip does not unpack" >&2; exit 1; }

# folder in the zip | build it comes from | objdump's name for its machine
for row in "x64|$KOVAREN_WIN64_BUILD|pei-x86-64" "x86|$KOVAREN_WIN32_BUILD|pei-i386"; do
  IFS='|' read -r folder build format <<<"$row"
  check "$folder/Kovaren.scr equals the copy the setups pack" cmp -s "$scratch/$folder/Kovaren.scr" "$KOVAREN_DIST_STAGE/$folder/Kovaren.scr"
  # Unsigned, that copy is the build's own file; signed, it is the build's file with a signature.
  if [[ ${KOVAREN_SIGNED:-OFF} != ON ]]; then
    check "$folder/Kovaren.scr equals $build/Kovaren.scr" cmp -s "$scratch/$folder/Kovaren.scr" "$build/Kovaren.scr"
  fi
  check "$folder/Kovaren.scr is $format" grep -q "file format $format" <<<"$(objdump -f "$scratch/$folder/Kovaren.scr")"
done

readme=$scratch/README.txt
check "README.txt starts with the UTF-8 byte-order mark" test "$(head -c3 "$readme" | od -An -tx1 | tr -d ' ')" == efbbbf
check "README.txt is valid UTF-8" iconv -f UTF-8 -t UTF-8 -o /dev/null "$readme"
check "README.txt ends every line with CR LF" test "$(grep -c $'[^\r]$\|^$' "$readme")" == 0
for text in "x64\\Kovaren.scr" "x86\\Kovaren.scr" "インストール" "Installing" "%APPDATA%\\Kovaren\\Kovaren.ini" \
  "KovarenSetup-$KOVAREN_RELEASE-x64.exe"; do
  check "README.txt mentions $text" grep -qF "$text" "$readme"
done

# The setup programs: the x64 one is itself a 64-bit program (it must run where 32-bit programs cannot).
for row in "x64|pei-x86-64" "x86|pei-i386"; do
  IFS='|' read -r arch format <<<"$row"
  setup=$KOVAREN_DIST_DIR/KovarenSetup-$KOVAREN_RELEASE-$arch.exe
  check "$(basename "$setup") exists" test -f "$setup"
  [[ -f $setup ]] || continue
  check "$(basename "$setup") is $format" grep -q "file format $format" <<<"$(objdump -f "$setup")"
  wide=$(strings -el "$setup")
  # NSIS names the block by the language's code page (932 = 0x3a4); the strings are UTF-16 all the same.
  for text in 041103a4 "$KOVAREN_RELEASE" "Kovaren developers" "KovarenSetup-$KOVAREN_RELEASE-$arch.exe"; do
    check "$(basename "$setup")'s version record holds '$text'" grep -qxF "$text" <<<"$wide"
  done
done

# SHA256SUMS: exactly the four downloads, each hash the file's own.
sums=$KOVAREN_DIST_DIR/SHA256SUMS
check "SHA256SUMS exists" test -f "$sums"
if [[ -f $sums ]]; then
  check "SHA256SUMS names the two setups, the zip and the Debian package" test \
    "$(awk '{ print $2 }' "$sums" | sort | tr '\n' ' ')" == \
    "Kovaren-$KOVAREN_RELEASE-windows.zip KovarenSetup-$KOVAREN_RELEASE-x64.exe KovarenSetup-$KOVAREN_RELEASE-x86.exe $(cd "$KOVAREN_DIST_DIR" && ls kovaren_*_amd64.deb) "
  check "sha256sum -c SHA256SUMS passes in the dist folder" bash -c 'cd "$1" && sha256sum --quiet -c SHA256SUMS' _ "$KOVAREN_DIST_DIR"
fi

checks_finish
