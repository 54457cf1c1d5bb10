# Sourced by the benchmark scripts. bench_folder: where a benchmark writes its output, BENCH_DIR
# when set, else /dev/shm when it has 4 GiB free, else TMPDIR or /tmp (see report_html.sh).
bench_folder() {
  local free_kb
  if [[ -n "${BENCH_DIR:-}" ]]; then echo "$BENCH_DIR"; return; fi
  free_kb=$(df -Pk /dev/shm 2>/dev/null | awk 'NR == 2 { print $4 }')
  if [[ -w /dev/shm && ${free_kb:-0} -ge $((4 * 1024 * 1024)) ]]; then echo /dev/shm; else echo "${TMPDIR:-/tmp}"; fi
}

# measure RUNS COMMAND...: runs the command RUNS times (its
# stdout to /dev/null) and prints the best wall time in seconds and the highest peak resident
# memory in KiB, as /usr/bin/time measures them. Needs $work, a scratch folder. A function
# prepare_run, when defined, runs before each run, outside the measurement.
measure() {
  local runs=$1 best="" peak=0 seconds kb
  shift
  for ((run = 0; run < runs; run++)); do
    if declare -F prepare_run >/dev/null; then prepare_run; fi
    /usr/bin/time -f '%e %M' -o "$work/time" "$@" >/dev/null
    read -r seconds kb <"$work/time"
    if [[ -z "$best" ]] || awk -v a="$seconds" -v b="$best" 'BEGIN { exit !(a < b) }'; then best=$seconds; fi
    ((kb > peak)) && peak=$kb
  done
  echo "$best $peak"
}

# ratio A B: A / B with two decimals.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }

# median_of: the median of the numbers on stdin.
median_of() { sort -g | awk '{ t[NR] = $1 } END { print (NR % 2 ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2) }'; }
median() { printf '%s\n' "$@" | median_of; }

# timed COMMAND...: "WALL CPU KB" of one run (stdout to /dev/null): wall and processor seconds
# and the peak resident memory in KiB.
# The wall time is the shell's clock, to the microsecond: a run of a few milliseconds would read
# as 0 to /usr/bin/time.
timed() {
  local start=$EPOCHREALTIME
  /usr/bin/time -f '%U %S %M' -o "$work/time" "$@" >/dev/null
  awk -v s="$start" -v e="$EPOCHREALTIME" '{ printf "%.6f %s %s\n", e - s, $1 + $2, $3 }' "$work/time"
}

# paired RUNS: runs the functions peer_run and quelo_run (each printing what timed prints) in
# turn, after a pair that is not counted, so that both see the machine alike. Prints the medians
# of the peer's and quelo's wall times and processor times, the median of the pairs' ratios
# (quelo / peer: a machine whose load drifts moves it least) and quelo's highest peak memory.
paired() {
  local runs=$1 pw pc qw qc qk peak=0
  local peer_wall=() peer_cpu=() quelo_wall=() quelo_cpu=() ratios=()
  peer_run >/dev/null
  quelo_run >/dev/null
  for ((run = 0; run < runs; run++)); do
    read -r pw pc _ < <(peer_run)
    read -r qw qc qk < <(quelo_run)
    peer_wall+=("$pw") peer_cpu+=("$pc") quelo_wall+=("$qw") quelo_cpu+=("$qc") ratios+=("$(ratio "$qw" "$pw")")
    ((qk > peak)) && peak=$qk
  done
  echo "$(median "${peer_wall[@]}") $(median "${peer_cpu[@]}") $(median "${quelo_wall[@]}") $(median "${quelo_cpu[@]}")" \
    "$(median "${ratios[@]}") $peak"
}

# at_most VALUE LIMIT: true when VALUE <= LIMIT.
at_most() { awk -v v="$1" -v l="$2" 'BEGIN { exit !(v <= l) }'; }

# with_server NAME SCRIPT: the opening of a bench against a database server. Makes $work (in
# bench_folder, open to the server's "nobody" when this runs as root) and $server in it, stops the
# server started there by SCRIPT (tests/support/*_server.sh) and removes $work on exit, and builds
# $quelo from $build.
with_server() {
  work=$(mktemp -d "$(bench_folder)/quelo-bench-$1.XXXXXX")
  server="$work/server"
  server_script=$2
  chmod 755 "$work"
  trap 'bash "$server_script" stop "$server" >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
  cmake --build "$build" --target quelo-cli >/dev/null
  quelo="$build/apps/quelo/quelo"
}

# against_server PEER OPTION BOUND: pairs peer_run with a quelo report of $query through OPTION
# ($connection), each quelo run in a new, empty application folder (an earlier run's pages would
# be appended to); prints both and fails when quelo / PEER is above BOUND.
against_server() {
  local peer=$1 option=$2 bound=$3 pages
  quelo_run() {
    rm -rf "$work/app"
    mkdir -p "$work/app"
    timed "$quelo" report "$option" "$connection" --query "$query" --quiet --app-path "$work/app/" --file sales --max-recs 10
  }
  read -r client_wall client_cpu quelo_wall quelo_cpu time_ratio _ < <(paired "$runs")
  pages=$(find "$work/app/Reports/" -name '*.htm' | wc -l)
  printf '%-37s %6s s, processor %6s s (medians of %s runs)\n' \
    "$peer" "$client_wall" "$client_cpu" "$runs" \
    "quelo report $option ($pages pages)" "$quelo_wall" "$quelo_cpu" "$runs"
  echo "quelo / $peer time: $time_ratio (median of the runs' ratios; at most $bound)"
  at_most "$time_ratio" "$bound" || { echo "FAIL: quelo report $option is too slow"; exit 1; }
  echo "PASS"
}
