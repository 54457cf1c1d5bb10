# Sourced by the benchmark scripts. measure RUNS COMMAND...: runs the command RUNS times (its
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
