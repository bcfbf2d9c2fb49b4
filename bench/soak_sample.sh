# Samples a long-running saver from outside (sourced): its memory, threads and open files from
# /proc, and, when a reader is given, its pass count and GDI objects. Used by the soak bench and the
# soak test; every figure is read from outside, so sampling costs the saver nothing between samples.

# soak_clock : now in milliseconds (CLOCK_REALTIME). soak_elapsed START_MS : the seconds since
# START_MS, to the millisecond ("61.234"): a pass rate read over a minute between whole seconds could
# be off by almost 2 %.
soak_clock() { echo $(($(date +%s%N) / 1000000)); }
soak_elapsed() {
  local ms=$(($(soak_clock) - $1))
  printf '%d.%03d\n' $((ms / 1000)) $((ms % 1000))
}

# soak_proc_figures PID : prints "rss_kb threads fds" of a running process.
soak_proc_figures() {
  local pid=$1 rss threads fds
  rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status" 2>/dev/null)
  threads=$(awk '/^Threads:/ {print $2}' "/proc/$pid/status" 2>/dev/null)
  fds=$(find "/proc/$pid/fd" -mindepth 1 -maxdepth 1 2>/dev/null | wc -l)
  echo "${rss:-0} ${threads:-0} $fds"
}

# soak_x11_passes PID LOG : asks kovaren for its pass count (SIGUSR1) and prints it, read back from
# its stderr log; prints nothing when it does not answer within 2 s.
soak_x11_passes() {
  local pid=$1 log=$2 before i
  before=$(grep -c '^kovaren: passes ' "$log" 2>/dev/null)
  kill -USR1 "$pid" 2>/dev/null || return 0
  for i in $(seq 40); do
    (($(grep -c '^kovaren: passes ' "$log" 2>/dev/null) > ${before:-0})) && break
    sleep 0.05
  done
  grep '^kovaren: passes ' "$log" 2>/dev/null | tail -n1 | awk '{print $3}'
}

# soak_gdi_objects LOG : the running count of GDI objects, the last one Wine's +gdi trace logged
# ("... 131/65536"); empty without a trace.
soak_gdi_objects() {
  grep -aoE '[0-9]+/65536' "$1" 2>/dev/null | tail -n1 | cut -d/ -f1
}

# soak_summary FILE SKIP_S [RATE] : from samples "seconds rss_kb threads fds gdi passes" (seconds
# whole or with a fraction, gdi and passes "-" when not measured) prints, for each figure, the first
# and last sample after SKIP_S seconds (the start-up), the lowest and highest, and the slope per hour
# by least squares over those samples; for passes, the rate per second between neighbouring samples.
# With RATE (the pass rate the saver keeps), also how many of those intervals were within 1 % of it,
# and each one that was not.
soak_summary() {
  awk -v skip="$2" -v rate="${3:-}" '
    function slope(col,   i, n, sx, sy, sxx, sxy, x, y, s) {
      n = 0; sx = sy = sxx = sxy = 0
      for (i = 1; i <= rows; i++) if (val[i, col] != "-") {
        x = t[i] / 3600; y = val[i, col]; n++; sx += x; sy += y; sxx += x * x; sxy += x * y
      }
      if (n < 2 || n * sxx == sx * sx) return "-"
      s = (n * sxy - sx * sy) / (n * sxx - sx * sx)
      return sprintf("%+.2f", s > -0.005 && s < 0.005 ? 0 : s)  # rounding must not show a flat figure as -0.00
    }
    # bound(col, sign): the lowest (sign 1) or highest (sign -1) measured value of a column, or "-".
    function bound(col, sign,   i, b) {
      b = "-"
      for (i = 1; i <= rows; i++) if (val[i, col] != "-" && (b == "-" || sign * val[i, col] < sign * b)) b = val[i, col]
      return b
    }
    function shown(v) { return v == "-" ? "-" : sprintf("%.1f", v) }
    $1 ~ /^[0-9]+(\.[0-9]+)?$/ && $1 >= skip {
      rows++; t[rows] = $1
      for (c = 2; c <= 5; c++) val[rows, c] = $c
      passes[rows] = $6
      if (rows > 1 && $6 != "-" && passes[rows - 1] != "-" && t[rows] > t[rows - 1])
        val[rows, 6] = ($6 - passes[rows - 1]) / (t[rows] - t[rows - 1])
      else
        val[rows, 6] = "-"
    }
    END {
      if (rows < 2) { print "too few samples"; exit 1 }
      split("x rss_kb threads open_files gdi_objects passes_per_s", name, " ")
      printf "%-14s %12s %12s %12s %12s %14s\n", "figure", "first", "last", "lowest", "highest", "slope per hour"
      for (c = 2; c <= 6; c++) {
        first = val[c == 6 ? 2 : 1, c]; last = val[rows, c]
        printf "%-14s %12s %12s %12s %12s %14s\n", name[c], shown(first), shown(last), \
          shown(bound(c, 1)), shown(bound(c, -1)), slope(c)
      }
      if (rate == "") exit 0
      for (i = 2; i <= rows; i++) if (val[i, 6] != "-") {
        measured++
        off = (val[i, 6] - rate) / rate * 100
        if (off < -1 || off > 1) outside[++n_out] = sprintf("  %d-%d s: %.1f (%+.1f %%)", t[i - 1], t[i], val[i, 6], off)
        else within++
      }
      if (!measured) exit 0
      printf "passes_per_s within 1 %% of %s in %d of %d intervals\n", rate, within, measured
      for (i = 1; i <= n_out; i++) print outside[i]
    }' "$1"
}

# soak_check_flat FILE SKIP_S RSS_KB RATE_FALL : from samples as above, true when, from the first
# sample past SKIP_S to the last, RSS grew by at most RSS_KB, threads, open files and GDI objects did
# not grow, and the second half's pass rate is within RATE_FALL (a fraction) of the first half's;
# otherwise prints what grew or fell. GDI objects and passes are checked where measured.
soak_check_flat() {
  awk -v skip="$2" -v rss_bound="$3" -v fall="$4" '
    $1 ~ /^[0-9]+(\.[0-9]+)?$/ && $1 >= skip { n++; t[n] = $1; rss[n] = $2; threads[n] = $3; fds[n] = $4; gdi[n] = $5; passes[n] = $6 }
    END {
      if (n < 3) { print "too few samples"; exit 1 }
      if (rss[n] - rss[1] > rss_bound) { print "RSS grew by " rss[n] - rss[1] " kB"; bad = 1 }
      if (threads[n] > threads[1]) { print "threads grew from " threads[1] " to " threads[n]; bad = 1 }
      if (fds[n] > fds[1]) { print "open files grew from " fds[1] " to " fds[n]; bad = 1 }
      if (gdi[1] != "-" && gdi[n] > gdi[1]) { print "GDI objects grew from " gdi[1] " to " gdi[n]; bad = 1 }
      if (passes[1] != "-") {
        mid = int((n + 1) / 2)
        first = (passes[mid] - passes[1]) / (t[mid] - t[1]); second = (passes[n] - passes[mid]) / (t[n] - t[mid])
        printf "passes per second: %.1f, then %.1f\n", first, second
        if (second < first * (1 - fall)) { printf "the pass rate fell by more than %d %%\n", fall * 100; bad = 1 }
      }
      exit bad
    }' "$1"
}
