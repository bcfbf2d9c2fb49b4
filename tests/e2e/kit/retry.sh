# Sourced by the end-to-end harnesses: retry_for LIMIT COMMAND... runs COMMAND (quietly) every 0.2 s
# until it succeeds, for up to LIMIT seconds; false when it never did. A loaded machine draws late.
retry_for() {
  local limit=$1 deadline
  shift
  deadline=$((SECONDS + limit))
  until "$@" >/dev/null 2>&1; do
    ((SECONDS < deadline)) || return 1
    sleep 0.2
  done
}
