#!/usr/bin/env bash
# Signing, with a throw-away chain made here (never kept): the build's checks of the certificate and
# key stop a wrong one before anything is signed; Kovaren.scr, the uninstaller and the setup program
# signed as the build signs them verify against the chain's root, SHA-256, and stop verifying when one
# byte changes; an unsigned build's downloads carry no signature. Signs copies of the built files and
# runs makensis only, so it needs no second compile. Environment (set by CTest): KOVAREN_SOURCE_DIR,
# KOVAREN_DIST_DIR, KOVAREN_DIST_STAGE, KOVAREN_WIN32_BUILD, KOVAREN_WIN64_BUILD, KOVAREN_RELEASE,
# KOVAREN_SIGNED.
set -u
: "${KOVAREN_SOURCE_DIR:?}" "${KOVAREN_DIST_DIR:?}" "${KOVAREN_DIST_STAGE:?}" "${KOVAREN_RELEASE:?}"
source "$KOVAREN_SOURCE_DIR/tests/files/signing_kit.sh"
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sk_make_chain "$work" || { echo "FAIL: openssl could not make the throw-away chain" >&2; exit 1; }
touch "$work/empty.pem"

# The build's decision, as the native build's configure step makes it. Run as root here, so an
# unreadable file is named by a folder (which is never a readable file) rather than by permissions.
# cert | key | stops? | what its message says
decisions=(
  "||no|"
  "$work/leaf.crt|$work/leaf.key|no|"
  "$work/leaf.crt||yes|must be set together"
  "|$work/leaf.key|yes|must be set together"
  "$work/leaf.crt|$work/other.key|yes|does not belong to the certificate"
  "$work/missing.crt|$work/leaf.key|yes|cannot be read"
  "$work/leaf.crt|$work|yes|cannot be read"
  "$work/empty.pem|$work/leaf.key|yes|holds no PEM certificate"
  "$work/leaf.crt|$work/empty.pem|yes|holds no PEM private key"
  "leaf.crt|$work/leaf.key|yes|is not an absolute path"
  "$work/ec.crt|$work/ec.key|yes|not RSA"
)
for row in "${decisions[@]}"; do
  IFS='|' read -r cert key stops says <<<"$row"
  mkdir -p "$work/configure"
  out=$(cd "$work/configure" && KOVAREN_SIGN_CERT=$cert KOVAREN_SIGN_KEY=$key \
    cmake -DCMAKE_BINARY_DIR="$work/configure" -P "$KOVAREN_SOURCE_DIR/packaging/windows/signing.cmake" 2>&1)
  status=$?
  out=$(tr -s ' \n' '  ' <<<"$out")  # CMake wraps its messages
  if [[ $stops == yes ]]; then
    check "cert '$cert', key '$key' stops the build (status $status)" test "$status" != 0
    check "... saying '$says' (said: $out)" grep -qF "$says" <<<"$out"
  else
    check "cert '$cert', key '$key' is accepted ($out)" test "$status" == 0
  fi
done

# signed_ok FILE : verifies against the root, SHA-256 with an RSA key.
signed_ok() {
  sk_verifies "$work/root.crt" "$1" &&
    osslsigncode verify -CAfile "$work/root.crt" -in "$1" 2>&1 | grep -q "Message digest algorithm *: SHA256"
}
# tampered_fails FILE : a copy with one byte changed in the middle no longer verifies.
tampered_fails() {
  local copy=$work/tampered.bin size
  cp "$1" "$copy"
  size=$(stat -c %s "$copy")
  printf '\x5a' | dd of="$copy" bs=1 seek=$((size / 2)) conv=notrunc status=none
  cmp -s "$1" "$copy" && printf '\xa5' | dd of="$copy" bs=1 seek=$((size / 2)) conv=notrunc status=none
  ! sk_verifies "$work/root.crt" "$copy"
}

for row in "x64|$KOVAREN_DIST_STAGE/x64/Kovaren.scr" "x86|$KOVAREN_DIST_STAGE/x86/Kovaren.scr"; do
  IFS='|' read -r arch scr <<<"$row"
  setup=$work/KovarenSetup-$arch.exe
  check "a signed $arch setup is made from the build's Kovaren.scr" sk_signed_setup "$work" "$arch" "$scr" "$setup"
  [[ -f $setup ]] || { cat "$work/makensis-$arch.log" >&2; continue; }
  for file in "$work/$arch/Kovaren.scr" "$setup"; do
    check "$arch ${file##*/} verifies against the root, SHA-256" signed_ok "$file"
    check "$arch ${file##*/} with one byte changed does not verify" tampered_fails "$file"
  done
  # The uninstaller inside is signed before it is packed: makensis says it ran the command on it.
  check "$arch: makensis signed the uninstaller" grep -qi "uninstfinalize" "$work/makensis-$arch.log"
done
check "a signature by a key of no certificate fails the setup" bash -c '! makensis -V1 -DARCH=x64 \
  -DSCR_FILE="$1" -DOUT_FILE="$2/bad.exe" -DVERSION=1 -DVERSION_QUAD=1.0.0.0 -DSIGN_TOOL="$3/packaging/windows/sign_file.sh" \
  -DSIGN_CERT="$2/leaf.crt" -DSIGN_KEY="$2/other.key" -DSIGN_TIMESTAMP= "$3/packaging/windows/kovaren.nsi" >/dev/null 2>&1 &&
  test ! -e "$2/bad.exe"' _ "$KOVAREN_DIST_STAGE/x64/Kovaren.scr" "$work" "$KOVAREN_SOURCE_DIR"

if [[ ${KOVAREN_SIGNED:-OFF} != ON ]]; then
  for file in "$KOVAREN_DIST_STAGE"/x64/Kovaren.scr "$KOVAREN_DIST_STAGE"/x86/Kovaren.scr \
    "$KOVAREN_DIST_DIR"/KovarenSetup-"$KOVAREN_RELEASE"-x64.exe "$KOVAREN_DIST_DIR"/KovarenSetup-"$KOVAREN_RELEASE"-x86.exe; do
    check "unsigned build: ${file#"$KOVAREN_DIST_DIR"/} carries no signature" sk_unsigned "$file"
  done
fi

checks_finish
