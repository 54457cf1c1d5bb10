#!/usr/bin/env bash
# Writing an HTML report of a PostgreSQL table with 'quelo report --postgres', against psql writing
# the same query's rows as an HTML table (psql -H), both into files, measured in the same run on
# a 100,000-row table of 8 mixed columns (the rows of bench/make_sales_db.sh), on a server this
# script starts (tests/support/postgres_server.sh) and stops.
#   bench/report_postgres.sh [BUILD_DIR] [RUNS]     (default: build, 5)
# Runs the two in turn RUNS times; prints the median wall time of each, the median of the runs'
# ratios, and the median processor time of each program (the server's is in the wall time of
# both, not in these); exits 1 when quelo takes more than 0.9 times psql's wall time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
runs=${2:-5}
[[ "$build" = /* ]] || build="$root/$build"
source "$root/bench/timing.sh"
with_server pg "$root/tests/support/postgres_server.sh"
connection=$(bash "$root/tests/support/postgres_server.sh" start "$server")
client=(psql --no-psqlrc -q -X "$connection")
rows=100000
"${client[@]}" <<SQL >/dev/null
CREATE TABLE sales (id INT PRIMARY KEY, customer TEXT, quantity INT, price DOUBLE PRECISION,
                    sold TIMESTAMP, paid BOOLEAN, code VARCHAR(12), amount NUMERIC(10,2));
INSERT INTO sales
SELECT i, 'Customer ' || (i % 5000), i % 100, round((i % 10000) / 7.0, 2),
       to_timestamp(1600000000 + i * 37) AT TIME ZONE 'UTC', i % 2 = 1, 'C' || lpad(i::text, 8, '0'),
       (i % 997) * 1.5
FROM generate_series(1, $rows) AS i;
SQL
query="SELECT * FROM sales ORDER BY id"
export XDG_CONFIG_HOME="$work/config" TZ=UTC

peer_run() { timed "${client[@]}" -H -c "$query" -o "$work/client.html"; }
against_server "psql -H" --postgres 0.9
