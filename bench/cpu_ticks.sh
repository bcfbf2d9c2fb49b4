# What the CPU benches share (sourced): a process's CPU time, and two processes' shares of one core
# over a window of time.

# ticks PID : the user and system clock ticks the process has used so far.
ticks() { sed 's/.*) //' "/proc/$1/stat" 2>/dev/null | awk '{print $12 + $13}'; }

# per_mille_pair SECONDS SERVER [PROGRAM] : "program server" per mille of one core over SECONDS
# (program 0 when none is given).
per_mille_pair() {
  local seconds=$1 server=$2 program=${3:-} hz t0 t1 p0=0 p1=0 s0 s1
  hz=$(getconf CLK_TCK)
  t0=$(date +%s%N); s0=$(ticks "$server"); [[ -z $program ]] || p0=$(ticks "$program")
  sleep "$seconds"
  t1=$(date +%s%N); s1=$(ticks "$server"); [[ -z $program ]] || p1=$(ticks "$program")
  local wall_ms=$(((t1 - t0) / 1000000))
  echo "$(((p1 - p0) * 1000000 / hz / wall_ms)) $(((s1 - s0) * 1000000 / hz / wall_ms))"
}
