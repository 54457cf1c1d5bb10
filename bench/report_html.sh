#!/usr/bin/env bash
# Writing an HTML report of an SQLite table with 'quelo report', against the sqlite3 shell writing
# the same table as an HTML table (sqlite3 -html), both into files, measured in the same run, on a
# 100,000-row and a 1,000,000-row table of 8 mixed columns.
#   bench/report_html.sh [BUILD_DIR]      (default: build)
# Prints the wall times (best of three at 100,000 rows, one run at 1,000,000), their ratio, the
# bytes each wrote and the peak resident memory next to the database file's size. Exits 1 when at
# 100,000 rows quelo takes more than twice the sqlite3 time, or when at 1,000,000 rows its peak
# memory is 3 times the database file's size or more, or 32 MiB or more (a report holds one page of
# records, whatever the size of the table).
#
# Both programs write into the folder BENCH_DIR names. By default that is /dev/shm (memory) when
# it has 4 GiB free, else TMPDIR or /tmp. Memory keeps the disk's own habits out of the ratio: a
# file system without a journal (ext4 here) passes over every inode deleted in the last minute
# or so each time it creates a file, so 500 new pages cost more the more files any program
# deleted just before, a cost sqlite3's single file never meets. BENCH_DIR=/tmp measures on disk.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
[[ "$build" = /* ]] || build="$root/$build"
source "$root/bench/timing.sh"
work=$(mktemp -d "$(bench_folder)/quelo-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
echo "writing into $work"

cmake --build "$build" --target quelo-cli >/dev/null
quelo="$build/apps/quelo/quelo"
query="SELECT * FROM sales"
export XDG_CONFIG_HOME="$work/config"

# Every run writes into a new, empty application folder ($work/app links to it): pages of an
# earlier run would be appended to. The earlier runs' pages are removed only at the end: ext4
# passes over the inodes of files deleted seconds before when it creates new ones, which would
# charge a run of 500 new files for the clean-up of the run before it (a cost sqlite3, writing
# one file, never meets).
prepare_run() {
  local fresh
  fresh=$(mktemp -d "$work/app.XXXXXX")
  rm -f "$work/sqlite.html"
  ln -sfn "$fresh" "$work/app"
}
bytes_in() { du -sb "$1" | cut -f1; }

ok=1
for rows in 100000 1000000; do
  runs=$((rows > 100000 ? 1 : 3))
  db="$work/sales-$rows.db"
  echo "== $rows rows"
  bash "$root/bench/make_sales_db.sh" "$rows" "$db"
  db_kb=$(($(stat -c %s "$db") / 1024))
  read -r sqlite_s sqlite_kb < <(measure "$runs" sqlite3 -html -cmd ".output $work/sqlite.html" "$db" "$query")
  sqlite_bytes=$(bytes_in "$work/sqlite.html")
  read -r quelo_s quelo_kb < <(measure "$runs" "$quelo" report --sqlite "$db" --query "$query" --quiet \
    --app-path "$work/app/" --file sales --max-recs 10)
  pages=$(find "$work/app/Reports/" -name '*.htm' | wc -l)
  quelo_bytes=$(bytes_in "$work/app/Reports/")
  rm -rf "$work"/app "$work"/app.*

  time_ratio=$(ratio "$quelo_s" "$sqlite_s")
  memory_ratio=$(ratio "$quelo_kb" "$db_kb")
  printf '%-24s %8s s %10s KiB %12s bytes\n' "sqlite3 -html" "$sqlite_s" "$sqlite_kb" "$sqlite_bytes" \
    "quelo report ($pages pages)" "$quelo_s" "$quelo_kb" "$quelo_bytes"
  echo "database file: $db_kb KiB"
  echo "quelo / sqlite3 time: $time_ratio$( ((rows == 100000)) && echo ' (at most 2)')"
  echo "quelo peak memory / database file: $memory_ratio$( ((rows == 1000000)) && echo ' (under 3)')"
  if ((rows == 100000)); then
    awk -v r="$time_ratio" 'BEGIN { exit !(r <= 2) }' || { echo "FAIL: quelo report is too slow"; ok=0; }
  else
    awk -v r="$memory_ratio" -v kb="$quelo_kb" 'BEGIN { exit !(r < 3 && kb < 32 * 1024) }' ||
      { echo "FAIL: quelo report holds too much memory"; ok=0; }
  fi
  rm -f "$db"
done
((ok)) && echo "PASS"
((ok))
