# Which Windows builds this machine can run under Wine, and how to run Wine for one of them. Sourced by
# the end-to-end harness, the template boot and scripts/run.
#
# Debian's /usr/bin/wine picks the 32-bit loader whenever it is installed, even on a kernel that cannot
# run 32-bit programs; wineboot, regedit and friends run `wine-stable` by name. So each architecture gets
# a folder of small launchers that exec its own loader and server, put first on PATH.

# kv_can_run_32bit : true when the kernel runs 32-bit programs and 32-bit Wine is installed.
kv_can_run_32bit() {
  kv_has_32bit_wine && kv_kernel_runs_32bit
}
kv_has_32bit_wine() { [[ -x /usr/lib/wine/wine && -x /usr/lib/wine/wineserver32 ]]; }
kv_kernel_runs_32bit() { /lib/ld-linux.so.2 --help >/dev/null 2>&1; }

# kv_runnable_arches : prints the Windows builds to test here, 64-bit first. KOVAREN_E2E_ARCHES (e.g.
# "win64") forces the choice; otherwise win64 always, win32 where the machine runs it.
kv_runnable_arches() {
  if [[ -n ${KOVAREN_E2E_ARCHES:-} ]]; then
    echo "$KOVAREN_E2E_ARCHES"
  elif kv_can_run_32bit; then
    echo "win64 win32"
  else
    echo "win64"
  fi
}

# kv_use_wine_arch ARCH LAUNCHERDIR : exports WINEARCH, WINELOADER and WINESERVER for ARCH (win32 or
# win64) and puts launchers for wine, wine-stable and wineserver into LAUNCHERDIR, first on PATH.
kv_use_wine_arch() {
  local arch=$1 dir=$2 loader server
  case $arch in
    win64) loader=/usr/lib/wine/wine64 server=/usr/lib/wine/wineserver64 ;;
    win32) loader=/usr/lib/wine/wine server=/usr/lib/wine/wineserver32 ;;
    *) echo "unknown Windows architecture: $arch (win32 or win64)" >&2; return 1 ;;
  esac
  [[ -x $loader && -x $server ]] || { echo "Wine for $arch is not installed (run scripts/setup)" >&2; return 1; }
  mkdir -p "$dir"
  local name
  for name in wine wine-stable; do
    printf '#!/bin/sh\nexec %s "$@"\n' "$loader" >"$dir/$name.$$" && chmod +x "$dir/$name.$$" && mv -f "$dir/$name.$$" "$dir/$name"
  done
  printf '#!/bin/sh\nexec %s "$@"\n' "$server" >"$dir/wineserver.$$" && chmod +x "$dir/wineserver.$$" &&
    mv -f "$dir/wineserver.$$" "$dir/wineserver"
  export WINEARCH=$arch WINELOADER=$loader WINESERVER=$server
  case ":$PATH:" in *":$dir:"*) ;; *) export PATH=$dir:$PATH ;; esac
}
