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
