#!/usr/bin/env bash
# quelo-gui opening a 1,000,000-row file (8 columns of mixed types), as an SQLite table and as
# the same rows in CSV, on the offscreen platform. Prints, for each, the longest gap between
# turns of the event loop while the file is read and the time until the report form shows.
# Exits 1 when a gap reaches 100 ms.
#   bench/gui_open.sh [BUILD_DIR]      (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
[[ "$build" = /* ]] || build="$root/$build"
rows=1000000
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --build "$build" --target quelo-bench-gui-open >/dev/null
opener="$build/bench/quelo-bench-gui-open"
echo "generating $rows rows..."
bash "$root/bench/make_sales_db.sh" "$rows" "$work/sales.db"
sqlite3 -header -csv "$work/sales.db" "SELECT * FROM sales" >"$work/sales.csv"

status=0
for source in "sales.db sales" "sales.csv"; do
  read -r file table <<<"$source"
  echo "$file:"
  out=$(QT_QPA_PLATFORM=offscreen "$opener" "$work/$file" ${table:+"$table"})
  echo "$out" | sed 's/^/  /'
  gap=$(echo "$out" | sed -n 's/^longest gap between event-loop turns: \([0-9]*\) ms$/\1/p')
  if (( gap >= 100 )); then status=1; fi
done
exit $status
