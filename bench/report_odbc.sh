#!/usr/bin/env bash
# Writing an HTML report of a MariaDB table through ODBC with 'quelo report --odbc', against the
# mariadb client writing the same query's rows as an HTML table (mariadb --html), both into files,
# measured in the same run on a 100,000-row table of 8 mixed columns, on a server this script
# starts (tests/support/mariadb_server.sh) and stops.
#   bench/report_odbc.sh [BUILD_DIR] [RUNS]     (default: build, 5)
# Runs the two in turn RUNS times; prints the median wall time of each, the median of the runs'
# ratios, and the median processor time (user and system) of each program (the server's is in the
# wall time of both, not in these); exits 1 when quelo takes more than the mariadb
# client's wall time.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
runs=${2:-5}
[[ "$build" = /* ]] || build="$root/$build"
source "$root/bench/timing.sh"
with_server odbc "$root/tests/support/mariadb_server.sh"
driver=$(find /usr/lib -path '*/odbc/libmaodbc.so' -print -quit)
[[ -n "$driver" ]] || { echo "no MariaDB ODBC driver (libmaodbc.so): install the package odbc-mariadb" >&2; exit 1; }
connection="DRIVER=$driver;$(bash "$root/tests/support/mariadb_server.sh" start "$server")"
socket="$server/server.sock"
client=(mariadb --no-defaults --default-character-set=utf8mb4 --socket="$socket" -u quelo quelo)
rows=100000
"${client[@]}" <<SQL
CREATE TABLE sales (id INT PRIMARY KEY, customer VARCHAR(40), quantity INT, price DOUBLE,
                    sold DATETIME, paid BOOL, code VARCHAR(12), amount DECIMAL(10,2));
SET SESSION max_recursive_iterations = $rows;
INSERT INTO sales
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < $rows)
SELECT i, CONCAT('Customer ', i % 5000), i % 100, ROUND((i % 10000) / 7.0, 2),
       FROM_UNIXTIME(1600000000 + i * 37), i % 2, CONCAT('C', LPAD(i, 8, '0')), (i % 997) * 1.5
FROM n;
SQL
query="SELECT * FROM sales ORDER BY id"
export XDG_CONFIG_HOME="$work/config" TZ=UTC

peer_run() { timed bash -c '"$@" > "'"$work"'/client.html"' _ "${client[@]}" --html -e "$query"; }
against_server "mariadb --html" --odbc 1.0
