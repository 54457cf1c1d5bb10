#!/usr/bin/env bash
# Writing an HTML report of a CSV file with 'quelo report --csv', against the sqlite3 shell
# importing the same file (.import --csv) and writing it as an HTML table, measured in the same
# run on a 100,000-row file of 8 mixed columns (the rows of bench/make_sales_db.sh).
#   bench/csv_report.sh [BUILD_DIR] [ROWS] [RUNS]      (defaults: build, 100000, 7)
# Prints the median wall and processor times of each, run in turn, and the median of the pairs'
# ratios; fails when it is above 0.7. Writes into BENCH_DIR, chosen as bench/report_html.sh
# chooses it (memory when /dev/shm has room).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
rows=${2:-100000}
runs=${3:-7}
[[ "$build" = /* ]] || build="$root/$build"
source "$root/bench/timing.sh"
work=$(mktemp -d "$(bench_folder)/quelo-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

cmake --build "$build" --target quelo-cli >/dev/null
quelo="$build/apps/quelo/quelo"
export XDG_CONFIG_HOME="$work/config"

bash "$root/bench/make_sales_db.sh" "$rows" "$work/sales.db"
sqlite3 -csv -header "$work/sales.db" "SELECT * FROM sales" >"$work/sales.csv"
rm -f "$work/sales.db"

peer_run() {
  rm -f "$work/sqlite.html"
  timed sqlite3 :memory: -cmd ".import --csv $work/sales.csv sales" -cmd ".mode html" -cmd ".output $work/sqlite.html" \
    "SELECT * FROM sales"
}
# Each run writes into a new, empty application folder: pages of an earlier run would be appended to.
quelo_run() {
  rm -rf "$work/app"
  mkdir -p "$work/app"
  timed "$quelo" report --csv "$work/sales.csv" --quiet --app-path "$work/app/" --file sales --max-recs 10
}
read -r sqlite_s sqlite_cpu quelo_s quelo_cpu time_ratio _ < <(paired "$runs")
printf '%-30s %6s s, processor %6s s\n' "sqlite3 .import, .mode html" "$sqlite_s" "$sqlite_cpu" \
  "quelo report --csv" "$quelo_s" "$quelo_cpu"
echo "quelo / sqlite3 time at $rows rows: $time_ratio (median of $runs pairs; at most 0.7)"
at_most "$time_ratio" 0.7 || { echo "FAIL: quelo report --csv is too slow"; exit 1; }
echo "PASS"
