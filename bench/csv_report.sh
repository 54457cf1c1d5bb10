#!/usr/bin/env bash
# Writing an HTML report of a CSV file with 'quelo report --csv', against the sqlite3 shell
# importing the same file (.import --csv) and writing it as an HTML table, measured in the same
# run on a 100,000-row file of 8 mixed columns (the rows of bench/make_sales_db.sh).
#   bench/csv_report.sh [BUILD_DIR] [ROWS]      (defaults: build, 100000)
# Prints the best of three wall times of each and their ratio. Writes into BENCH_DIR, chosen as
# bench/report_html.sh chooses it (memory when /dev/shm has room).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
rows=${2:-100000}
[[ "$build" = /* ]] || build="$root/$build"
if [[ -z "${BENCH_DIR:-}" ]]; then
  BENCH_DIR=${TMPDIR:-/tmp}
  free_kb=$(df -Pk /dev/shm 2>/dev/null | awk 'NR == 2 { print $4 }')
  [[ -w /dev/shm && ${free_kb:-0} -ge $((4 * 1024 * 1024)) ]] && BENCH_DIR=/dev/shm
fi
work=$(mktemp -d "$BENCH_DIR/quelo-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
source "$root/bench/timing.sh"

cmake --build "$build" --target quelo-cli >/dev/null
quelo="$build/apps/quelo/quelo"
export XDG_CONFIG_HOME="$work/config"

bash "$root/bench/make_sales_db.sh" "$rows" "$work/sales.db"
sqlite3 -csv -header "$work/sales.db" "SELECT * FROM sales" >"$work/sales.csv"
rm -f "$work/sales.db"

# Each run writes into a new, empty application folder: pages of an earlier run would be appended to.
prepare_run() {
  local fresh
  fresh=$(mktemp -d "$work/app.XXXXXX")
  rm -f "$work/sqlite.html"
  ln -sfn "$fresh" "$work/app"
}
read -r sqlite_s _ < <(measure 3 sqlite3 :memory: -cmd ".import --csv $work/sales.csv sales" -cmd ".mode html" \
  -cmd ".output $work/sqlite.html" "SELECT * FROM sales")
read -r quelo_s _ < <(measure 3 "$quelo" report --csv "$work/sales.csv" --quiet --app-path "$work/app/" \
  --file sales --max-recs 10)
printf '%-30s %8s s\n' "sqlite3 .import, .mode html" "$sqlite_s" "quelo report --csv" "$quelo_s"
echo "quelo / sqlite3 time at $rows rows: $(ratio "$quelo_s" "$sqlite_s")"
