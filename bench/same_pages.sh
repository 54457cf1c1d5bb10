#!/usr/bin/env bash
# Whether two builds write the same report, byte for byte: 'quelo report' of each with the clock
# fixed, compared with diff -r, on the benchmark table (bench/make_sales_db.sh) and on the mixed
# one (bench/make_mixed_db.sh) at each size, and on 1,000 mixed rows with the statistics, footer
# and notes on: 12 a page (pages close mid-page, the statistics run across pages) and 10 a page
# (pages formatted apart while the writer keeps up), once with scores falling below zero at random
# places.
#   bench/same_pages.sh BUILD_A BUILD_B [ROWS ...]      (default rows: 100000 1000000)
# Prints a line a case; fails when any case differs. Writes into BENCH_DIR as report_html.sh does.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
builds=()
for b in "$1" "$2"; do [[ "$b" = /* ]] && builds+=("$b") || builds+=("$root/$b"); done
shift 2
sizes=("$@")
((${#sizes[@]})) || sizes=(100000 1000000)
source "$root/bench/timing.sh"
work=$(mktemp -d "$(bench_folder)/quelo-same.XXXXXX")
trap 'rm -rf "$work"' EXIT
export SOURCE_DATE_EPOCH=1700000000 TZ=UTC XDG_CONFIG_HOME="$work/config"

ok=1
# same LABEL DB QUERY [OPTIONS...]: the report of each build into a folder of its own, compared.
same() {
  local label=$1 db=$2 query=$3 i
  shift 3
  for i in 0 1; do
    mkdir -p "$work/app$i"
    "${builds[$i]}/apps/quelo/quelo" report --sqlite "$db" --query "$query" --quiet --app-path "$work/app$i/" \
      --file report "$@" >/dev/null || { echo "$label: build $((i + 1)) failed"; ok=0; }
  done
  local pages
  pages=$(find "$work/app0/Reports" -name '*.htm' | wc -l)
  if diff -r -q "$work/app0" "$work/app1" >"$work/diff"; then echo "$label: the same ($pages pages)"
  else echo "$label: DIFFERENT"; head -5 "$work/diff"; ok=0; fi
  rm -rf "$work/app0" "$work/app1"
}

statistics=(--setting Ra_Footer=End --setting Ra_UseNotes=1 --setting Ra_Notes=Notes --field id=2)
bash "$root/bench/make_mixed_db.sh" 1000 "$work/mixed.db"
same "1000 mixed rows, 12 a page, statistics" "$work/mixed.db" "SELECT * FROM notes" --max-recs 12 "${statistics[@]}"
same "1000 mixed rows, 10 a page, statistics" "$work/mixed.db" "SELECT * FROM notes" --max-recs 10 "${statistics[@]}"
same "1000 mixed rows, 10 a page, scores falling" "$work/mixed.db" \
  "SELECT id, 7 - score * id AS score, ratio FROM notes ORDER BY id % 37, id" --max-recs 10 "${statistics[@]}"
for rows in "${sizes[@]}"; do
  bash "$root/bench/make_sales_db.sh" "$rows" "$work/sales.db"
  same "$rows sales rows" "$work/sales.db" "SELECT * FROM sales"
  rm -f "$work/sales.db"
  bash "$root/bench/make_mixed_db.sh" "$rows" "$work/mixed.db"
  same "$rows mixed rows" "$work/mixed.db" "SELECT * FROM notes"
  same "$rows mixed rows, statistics" "$work/mixed.db" "SELECT * FROM notes" "${statistics[@]}"
  rm -f "$work/mixed.db"
done
((ok)) && echo "PASS"
((ok))
