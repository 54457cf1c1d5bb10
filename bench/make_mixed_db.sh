#!/usr/bin/env bash
# Writes a second benchmark table, of other data than bench/make_sales_db.sh: ROWS rows of 8
# columns in the table "notes" of a new FILE: text with markup, Nulls, long notes (every tenth
# note is 2,000 characters and some hold line breaks), dates, doubles of many digits.
#   bench/make_mixed_db.sh ROWS FILE
set -euo pipefail
rows=$1
db=$2
rm -f "$db"
sqlite3 "$db" <<SQL
CREATE TABLE notes (id INTEGER PRIMARY KEY, title TEXT, note TEXT, ratio REAL, due DATE,
                    score REAL, owner TEXT, tag TEXT);
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < $rows)
INSERT INTO notes
SELECT i, '<b>Item ' || i || '</b> & "co" <i>' || (i % 13) || '</i>',
       CASE WHEN i % 10 = 0 THEN printf('%.*c', 2000, 'n') || char(13, 10) || 'end of note ' || i
            WHEN i % 7 = 0 THEN NULL ELSE 'short note ' || i END,
       i / 7.0, date(1600000000 + i * 3600, 'unixepoch'),
       CASE WHEN i % 3 = 0 THEN NULL ELSE (i % 1000) * 0.001 - 0.5 END,
       CASE WHEN i % 5 = 0 THEN NULL ELSE 'owner' || (i % 97) || '@example.com' END,
       CASE WHEN i % 11 = 0 THEN 'see #' || i || '#' ELSE 't' || (i % 17) END
FROM n;
SQL
