# The pass/fail count of the file checks, sourced: check WHAT COMMAND... counts COMMAND's outcome and
# names WHAT when it fails; checks_finish prints the count and ends the script (0 when all passed).
passed=0 failed=0
check() {
  local what=$1
  shift
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL: $what" >&2; fi
}
checks_finish() {
  echo "$passed passed, $failed failed"
  ((failed == 0 && passed > 0))
  exit
}
