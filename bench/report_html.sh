#!/usr/bin/env bash
# Writing an HTML report of an SQLite table with 'quelo report', against the sqlite3 shell writing
# the same table as an HTML table (sqlite3 -html), both into files, measured in the same run, in
# turn, on a 1-row, a 100,000-row and a 1,000,000-row table of 8 mixed columns: the benchmark
# table (bench/make_sales_db.sh), then a table of other data (bench/make_mixed_db.sh: markup,
# Nulls, long notes, dates, doubles).
#   bench/report_html.sh [BUILD_DIR]      (default: build)
# Prints for each the median wall and processor times, the median of the pairs' time ratios, the
# bytes each wrote, quelo's peak resident memory next to the database file's size, the write floor
# (the median time one process takes to write the same files, held in memory, into the same
# folder) and the read floor (the median time one thread takes to take every value of the query
# through SQLite, writing nothing: a report runs its query once, on one thread). Fails when the
# ratio is above 0.8 at 100,000 and 1,000,000 rows or 1.5 at one row, when quelo takes more than
# twice the write floor at 1,000,000 rows, or when the peak memory at 1,000,000 rows is 32 MiB or
# more or over 1.5 times the peak at 100,000 rows (a report holds a few pages of records, whatever
# the size of the table).
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

cmake --build "$build" --target quelo-cli quelo-bench-write-floor quelo-bench-read-floor >/dev/null
quelo="$build/apps/quelo/quelo"
export XDG_CONFIG_HOME="$work/config"

peer_run() {
  rm -f "$work/sqlite.html"
  timed sqlite3 -html -cmd ".output $work/sqlite.html" "$db" "$query"
}
# Every quelo run writes into a new, empty application folder ($work/app links to it): pages of
# an earlier run would be appended to. The earlier runs' pages are removed only at the end: ext4
# passes over the inodes of files deleted seconds before when it creates new ones, which would
# charge a run of 500 new files for the clean-up of the run before it (a cost sqlite3, writing
# one file, never meets). At 1,000,000 rows they are removed before each run, as each run's pages
# take 1.6 GB.
quelo_run() {
  ((rows < 1000000)) || rm -rf "$work"/app.*
  ln -sfn "$(mktemp -d "$work/app.XXXXXX")" "$work/app"
  timed "$quelo" report --sqlite "$db" --query "$query" --quiet --app-path "$work/app/" --file sales --max-recs 10
}
bytes_in() { du -sb "$1" | cut -f1; }
# three_runs COMMAND...: the median, least and greatest of the seconds COMMAND prints first in 3
# runs (on a virtual machine the spread of the write floor tells how much the host's reclaiming
# moved it).
three_runs() {
  local run seconds=()
  for run in 1 2 3; do seconds+=("$("$@" | cut -d' ' -f1)"); done
  echo "$(median "${seconds[@]}") $(printf '%s\n' "${seconds[@]}" | sort -g | sed -n '1p;$p' | tr '\n' ' ')"
}
# write_floor FOLDER: writing FOLDER's files anew beside it.
write_floor() {
  rm -rf "$work/floor"
  "$build/bench/quelo-bench-write-floor" "$1" "$work/floor"
}

# one_case TABLE ROWS RUNS LIMIT: the pairs on a new table of ROWS rows, their figures and verdicts.
ok=1
peak_100k=0
one_case() {
  local table=$1 rows=$2 runs=$3 limit=$4
  db="$work/$table-$rows.db"
  query="SELECT * FROM $table"
  echo "== $table: $rows rows"
  if [[ $table = sales ]]; then bash "$root/bench/make_sales_db.sh" "$rows" "$db"; else bash "$root/bench/make_mixed_db.sh" "$rows" "$db"; fi
  db_kb=$(($(stat -c %s "$db") / 1024))
  read -r sqlite_s sqlite_cpu quelo_s quelo_cpu time_ratio quelo_kb < <(paired "$runs")
  sqlite_bytes=$(bytes_in "$work/sqlite.html")
  pages=$(find "$work/app/Reports/" -name '*.htm' | wc -l)
  quelo_bytes=$(bytes_in "$work/app/Reports/")
  read -r floor_s floor_least floor_most < <(three_runs write_floor "$work/app/Reports")
  read -r read_s read_least read_most < <(three_runs "$build/bench/quelo-bench-read-floor" "$db" "$query")
  rm -rf "$work"/app "$work"/app.* "$work/floor"

  printf '%-26s %6s s, processor %6s s %12s bytes\n' "sqlite3 -html" "$sqlite_s" "$sqlite_cpu" "$sqlite_bytes" \
    "quelo report ($pages pages)" "$quelo_s" "$quelo_cpu" "$quelo_bytes"
  echo "quelo / sqlite3 time: $time_ratio (median of $runs pairs; at most $limit)"
  echo "quelo peak memory: $quelo_kb KiB; database file: $db_kb KiB"
  floor_ratio=$(ratio "$quelo_s" "$floor_s")
  echo "write floor (the same files from memory): $floor_s s ($floor_least to $floor_most s in 3 runs);" \
    "quelo / floor: $floor_ratio"
  echo "read floor (every value of the query through SQLite, nothing written): $read_s s" \
    "($read_least to $read_most s in 3 runs); quelo / read floor: $(ratio "$quelo_s" "$read_s")"
  at_most "$time_ratio" "$limit" || { echo "FAIL: quelo report is too slow at $rows rows"; ok=0; }
  ((rows < 1000000)) || at_most "$floor_ratio" 2 || { echo "FAIL: quelo report is far above the write floor"; ok=0; }
  ((rows != 100000)) || peak_100k=$quelo_kb
  if ((rows == 1000000)); then
    ((quelo_kb < 32 * 1024)) && at_most "$quelo_kb" "$(awk -v p="$peak_100k" 'BEGIN { print p * 1.5 }')" ||
      { echo "FAIL: quelo report's memory grows with the table"; ok=0; }
  fi
  rm -f "$db"
}

for table in sales notes; do
  for case in "1 21 1.5" "100000 7 0.8" "1000000 5 0.8"; do
    read -r rows runs limit <<<"$case"
    one_case "$table" "$rows" "$runs" "$limit"
  done
done
((ok)) && echo "PASS"
((ok))
