# The folders CTest hands the end-to-end tests, for a script that drives a harness outside CTest (the
# benches). Sourced with `root` set to the checkout; KOVAREN_WIN_ARCH (win64 default, or win32) picks
# the build, and each folder may be given beforehand.
export KOVAREN_SOURCE_DIR=$root
export KOVAREN_WIN_ARCH=${KOVAREN_WIN_ARCH:-win64}
export KOVAREN_WIN_BUILD=${KOVAREN_WIN_BUILD:-$root/build/$KOVAREN_WIN_ARCH}
export KOVAREN_NATIVE_BUILD=${KOVAREN_NATIVE_BUILD:-$root/build/native}
export KOVAREN_E2E_TEMPLATE=${KOVAREN_E2E_TEMPLATE:-$KOVAREN_NATIVE_BUILD/e2e-template-$KOVAREN_WIN_ARCH}
