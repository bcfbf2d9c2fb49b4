#!/usr/bin/env bash
# A signed setup program as a user runs it: made from this build's Kovaren.scr with a throw-away chain
# (as the build signs, makensis only), a silent install puts a signed Kovaren.scr in the system folder
# and writes an uninstaller whose signature verifies against the chain's root.
set -u
source "$KOVAREN_SOURCE_DIR/tests/e2e/win32/harness.sh"
source "$KOVAREN_SOURCE_DIR/tests/files/signing_kit.sh"
: "${KOVAREN_RELEASE:?}"
kv_start
case $KV_ARCH in
  win64) arch=x64 ;;
  win32) arch=x86 ;;
esac
chain=$KV_TMP/chain
mkdir -p "$chain"
sk_make_chain "$chain" || kv_die "openssl could not make the throw-away chain"
setup=$KV_TMP/KovarenSetup-signed-$arch.exe
sk_signed_setup "$chain" "$arch" "$KOVAREN_WIN_BUILD/Kovaren.scr" "$setup" ||
  kv_die "could not make the signed setup: $(tail -n 5 "$chain/makensis-$arch.log")"
kv_check "the signed setup verifies" sk_verifies "$chain/root.crt" "$setup"

run_setup() {
  kv_launch_exe "$setup" "$@"
  kv_wait_exit "$KV_PID" 30 && [[ $KV_EXIT_STATUS == 0 ]]
}
kv_check "the signed setup's /S ends with status 0" run_setup /S
installed=$WINEPREFIX/drive_c/windows/system32/Kovaren.scr
uninstaller=$WINEPREFIX/drive_c/Program\ Files/Kovaren/uninstall.exe
kv_check "the installed Kovaren.scr verifies" sk_verifies "$chain/root.crt" "$installed"
kv_check "the uninstaller it wrote exists" test -f "$uninstaller"
kv_check "the uninstaller it wrote verifies" sk_verifies "$chain/root.crt" "$uninstaller"

kv_log "done in $((SECONDS - KV_STARTED)) s"
kv_finish
