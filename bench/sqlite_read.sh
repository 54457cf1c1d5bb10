#!/usr/bin/env bash
# Reading a 1,000,000-row SQLite table (8 columns of mixed types) into a record set, against the
# sqlite3 shell dumping the same table as CSV to /dev/null, measured in the same run.
#   bench/sqlite_read.sh [BUILD_DIR]      (default: build)
# Reports the best of three wall times of each, their ratio, and the peak memory of the static
# read and of a forward-only cursor next to the database file's size. Exits 1 when the static
# read takes more than twice the sqlite3 time or peaks at 3 times the file's size or more, or
# when the cursor's memory is not flat (more than a tenth of the static read's).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
[[ "$build" = /* ]] || build="$root/$build"
rows=1000000
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --build "$build" --target quelo-bench-read >/dev/null
reader="$build/bench/quelo-bench-read"
db="$work/sales.db"
query="SELECT * FROM sales"

echo "generating $rows rows..."
bash "$root/bench/make_sales_db.sh" "$rows" "$db"
db_kb=$(( $(stat -c %s "$db") / 1024 ))

source "$root/bench/timing.sh"

read -r sqlite_s sqlite_kb < <(measure 3 sqlite3 -csv "$db" "$query")
read -r static_s static_kb < <(measure 3 "$reader" static "$db" "$query")
read -r forward_s forward_kb < <(measure 3 "$reader" forward "$db" "$query")

"$reader" static "$db" "$query"
time_ratio=$(ratio "$static_s" "$sqlite_s")
memory_ratio=$(ratio "$static_kb" "$db_kb")
printf '%-34s %8s s %10s KiB\n' "sqlite3 -csv > /dev/null" "$sqlite_s" "$sqlite_kb" \
  "static record set" "$static_s" "$static_kb" "forward-only cursor" "$forward_s" "$forward_kb"
echo "database file: $db_kb KiB"
echo "static read / sqlite3 time: $time_ratio (at most 2)"
echo "static read peak memory / database file: $memory_ratio (under 3)"
echo "forward-only cursor peak memory: $forward_kb KiB (flat: at most a tenth of the static read's)"

ok=1
awk -v r="$time_ratio" 'BEGIN { exit !(r <= 2) }' || { echo "FAIL: the static read is too slow"; ok=0; }
awk -v r="$memory_ratio" 'BEGIN { exit !(r < 3) }' || { echo "FAIL: the static read holds too much memory"; ok=0; }
(( forward_kb * 10 <= static_kb )) || { echo "FAIL: the cursor's memory grows with the data"; ok=0; }
(( ok )) && echo "PASS"
(( ok ))
