#!/usr/bin/env bash
# Writing an HTML report of a Distributed ClickHouse table over both shards of a two-server
# cluster with 'quelo report --clickhouse', against clickhouse-client writing the same query's
# rows as TSV into a file, measured in the same run on 1,000,000 rows of 6 mixed columns (half on
# each shard), on a cluster this script starts (tests/support/clickhouse_server.sh) and stops.
#   bench/report_clickhouse.sh [BUILD_DIR] [RUNS]     (default: build, 3)
# Runs the two in turn RUNS times; prints the median wall time of each, the median of the runs'
# ratios, the median processor time of each program, and quelo's peak memory on the whole result
# and on a tenth of it (flat: at most 1.5 times as much); exits 1 when quelo takes more than 4
# times the client's wall time (it writes thousands of HTML pages, the client one TSV file) or
# its memory grows with the result.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
runs=${2:-3}
[[ "$build" = /* ]] || build="$root/$build"
source "$root/bench/timing.sh"
with_server clickhouse "$root/tests/support/clickhouse_server.sh"
command -v clickhouse-client >/dev/null || { echo "no clickhouse-client: install the package clickhouse-client" >&2; exit 1; }
mapfile -t urls < <(bash "$root/tests/support/clickhouse_server.sh" start "$server")
mapfile -t ports <"$server/tcp_ports"
rows=1000000
half=$((rows / 2))
for shard in 0 1; do
  curl -sSf "${urls[$shard]}/" --data-binary "CREATE TABLE sales (id UInt32, customer String, quantity Int32,
    price Float64, sold DateTime, amount Decimal(10, 2)) ENGINE = MergeTree ORDER BY id"
  curl -sSf "${urls[$shard]}/" --data-binary "INSERT INTO sales SELECT number + 1 + $shard * $half,
    concat('Customer ', toString(number % 5000)), number % 100, round((number % 10000) / 7.0, 2),
    toDateTime(1600000000 + number * 37), toDecimal64((number % 997) * 1.5, 2) FROM system.numbers LIMIT $half"
done
curl -sSf "${urls[0]}/" --data-binary "CREATE TABLE all_sales AS sales ENGINE = Distributed(two_shards, default, sales, id)"
query="SELECT * FROM all_sales ORDER BY id"
export XDG_CONFIG_HOME="$work/config" TZ=UTC

peer_run() {
  timed bash -c '"$@" > "'"$work"'/client.tsv"' _ clickhouse-client --host 127.0.0.1 --port "${ports[0]}" \
    --query "$query FORMAT TabSeparated"
}
# Every quelo run writes into a new, empty application folder: pages of an earlier run would be
# appended to.
quelo_run() {
  rm -rf "$work/app"
  mkdir -p "$work/app"
  timed "$quelo" report --clickhouse "${urls[0]}" --query "${1:-$query}" --quiet --app-path "$work/app/" --file sales
}

read -r client_wall client_cpu quelo_wall quelo_cpu time_ratio peak < <(paired "$runs")
pages=$(find "$work/app/Reports/" -name '*.htm' | wc -l)
read -r _ _ tenth_peak < <(quelo_run "SELECT * FROM all_sales WHERE id <= $((rows / 10)) ORDER BY id")
memory_ratio=$(ratio "$peak" "$tenth_peak")
printf '%-38s %6s s, processor %6s s (medians of %s runs)\n' \
  "clickhouse-client (TSV)" "$client_wall" "$client_cpu" "$runs" \
  "quelo report --clickhouse ($pages pages)" "$quelo_wall" "$quelo_cpu" "$runs"
echo "quelo / clickhouse-client time: $time_ratio (median of the runs' ratios; at most 4)"
echo "quelo peak memory: $peak KiB on $rows rows, $tenth_peak KiB on $((rows / 10)): $memory_ratio (at most 1.5)"
at_most "$time_ratio" 4 || { echo "FAIL: quelo report --clickhouse is too slow"; exit 1; }
at_most "$memory_ratio" 1.5 || { echo "FAIL: quelo's memory grows with the result"; exit 1; }
echo "PASS"
