#!/usr/bin/env bash
# Writes the benchmarks' SQLite table: ROWS rows of 8 columns of mixed types (whole numbers, text,
# real, date-time, Boolean, fixed-length text, numeric) in the table "sales" of a new FILE.
#   bench/make_sales_db.sh ROWS FILE
set -euo pipefail
rows=$1
db=$2
rm -f "$db"
sqlite3 "$db" <<SQL
CREATE TABLE sales (id INTEGER PRIMARY KEY, customer TEXT, quantity INTEGER, price REAL,
                    sold DATETIME, paid BOOLEAN, code VARCHAR(12), amount NUMERIC);
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < $rows)
INSERT INTO sales
SELECT i, 'Customer ' || (i % 5000), i % 100, round((i % 10000) / 7.0, 2),
       datetime(1600000000 + i * 37, 'unixepoch'), i % 2, printf('C%08d', i), (i % 997) * 1.5
FROM n;
SQL
