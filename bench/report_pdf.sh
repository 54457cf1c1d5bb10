#!/usr/bin/env bash
# Printing and --pdf on a 500-page report (100,000 records of a CSV file, 200 a page), against
# writing the same report's HTML pages alone, measured in the same run. The print command is a
# stand-in that keeps the document. Checks what the PDF holds: one bookmark per page and the
# values of the first and last records; and that the pages are those of the run without --pdf.
#   bench/report_pdf.sh [BUILD_DIR] [ROWS]      (defaults: build, 100000)
# Prints the wall and processor times of each run (the renderer's processes included) and its peak
# memory (the largest of quelo and each of its processes).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
rows=${2:-100000}
[[ "$build" = /* ]] || build="$root/$build"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --build "$build" --target quelo-cli >/dev/null
quelo="$build/apps/quelo/quelo"
export XDG_CONFIG_HOME="$work/config" SOURCE_DATE_EPOCH=1700000000 TZ=UTC

{
  echo "Id,Name,Amount"
  for ((i = 1; i <= rows; i++)); do echo "$i,Record $i,$((i * 3)).50"; done
} >"$work/data.csv"
mkdir -p "$work/bin"
printf '#!/bin/sh\nfor a in "$@"; do last=$a; done\ncp "$last" "%s/printed.pdf"\n' "$work" >"$work/bin/lp"
chmod +x "$work/bin/lp"

# One run into its own application folder: its wall and processor seconds, its peak memory.
run() {
  local name=$1
  shift
  mkdir -p "$work/$name"
  /usr/bin/time -f "%e %U %S %M" -o "$work/$name.time" \
    env PATH="$work/bin:$PATH" "$quelo" report --csv "$work/data.csv" --quiet --app-path "$work/$name" --file r "$@" >/dev/null
  awk -v n="$name" '{ printf "%-22s %8.1f s, processor %8.1f s, peak %6.0f MB\n", n, $1, $2 + $3, $4 / 1024 }' "$work/$name.time"
}
run "html pages alone"
run "--pdf" --pdf
run "--action 1 (print)" --action 1

pages=$(ls "$work/html pages alone/Reports" | wc -l)
marks=$(qpdf --json --json-key=outlines "$work/--pdf/Reports/r.pdf" | grep -c '"title"')
text=$(pdftotext "$work/--pdf/Reports/r.pdf" -)
echo "pages $pages, bookmarks $marks"
[[ $pages == "$marks" ]] || { echo "FAIL: one bookmark per page"; exit 1; }
grep -qw "Record 1" <<<"$text" && grep -qw "Record $rows" <<<"$text" || { echo "FAIL: first or last record missing"; exit 1; }
for f in "$work/html pages alone/Reports/"*.htm; do
  cmp -s "$f" "$work/--pdf/Reports/$(basename "$f")" || { echo "FAIL: $(basename "$f") differs with --pdf"; exit 1; }
done
echo "ok"
