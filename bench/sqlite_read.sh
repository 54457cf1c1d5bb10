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
sqlite3 "$db" <<SQL
CREATE TABLE sales (id INTEGER PRIMARY KEY, customer TEXT, quantity INTEGER, price REAL,
                    sold DATETIME, paid BOOLEAN, code VARCHAR(12), amount NUMERIC);
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < $rows)
INSERT INTO sales
SELECT i, 'Customer ' || (i % 5000), i % 100, round((i % 10000) / 7.0, 2),
       datetime(1600000000 + i * 37, 'unixepoch'), i % 2, printf('C%08d', i), (i % 997) * 1.5
FROM n;
SQL
db_kb=$(( $(stat -c %s "$db") / 1024 ))

# Best wall time (seconds) and the peak resident memory (KiB) of three runs of a command.
measure() {
  local best="" peak=0
  for _ in 1 2 3; do
    /usr/bin/time -f '%e %M' -o "$work/time" "$@" >/dev/null
    read -r seconds kb <"$work/time"
    if [[ -z "$best" ]] || awk -v a="$seconds" -v b="$best" 'BEGIN { exit !(a < b) }'; then best=$seconds; fi
    (( kb > peak )) && peak=$kb
  done
  echo "$best $peak"
}

read -r sqlite_s sqlite_kb < <(measure sqlite3 -csv "$db" "$query")
read -r static_s static_kb < <(measure "$reader" static "$db" "$query")
read -r forward_s forward_kb < <(measure "$reader" forward "$db" "$query")

"$reader" static "$db" "$query"
ratio=$(awk -v a="$static_s" -v b="$sqlite_s" 'BEGIN { printf "%.2f", a / b }')
memory_ratio=$(awk -v a="$static_kb" -v b="$db_kb" 'BEGIN { printf "%.2f", a / b }')
printf '%-34s %8s s %10s KiB\n' "sqlite3 -csv > /dev/null" "$sqlite_s" "$sqlite_kb" \
  "static record set" "$static_s" "$static_kb" "forward-only cursor" "$forward_s" "$forward_kb"
echo "database file: $db_kb KiB"
echo "static read / sqlite3 time: $ratio (at most 2)"
echo "static read peak memory / database file: $memory_ratio (under 3)"
echo "forward-only cursor peak memory: $forward_kb KiB (flat: at most a tenth of the static read's)"

ok=1
awk -v r="$ratio" 'BEGIN { exit !(r <= 2) }' || { echo "FAIL: the static read is too slow"; ok=0; }
awk -v r="$memory_ratio" 'BEGIN { exit !(r < 3) }' || { echo "FAIL: the static read holds too much memory"; ok=0; }
(( forward_kb * 10 <= static_kb )) || { echo "FAIL: the cursor's memory grows with the data"; ok=0; }
(( ok )) && echo "PASS"
(( ok ))
