#!/usr/bin/env bash
# Starts or stops a throw-away MariaDB server for the tests, on a Unix socket in DIR, with the data
# in DIR/data, a user "quelo" without a password and its database "quelo" (nothing listens on TCP).
#   mariadb_server.sh start DIR   prints an ODBC connection string (without its DRIVER) on stdout
#                                 once the server is up
#   mariadb_server.sh stop DIR    stops it and removes DIR
# As root, the server runs as the unprivileged user "nobody".
set -euo pipefail
action=${1:?usage: mariadb_server.sh start|stop DIR}
dir=${2:?usage: mariadb_server.sh start|stop DIR}

server=$(command -v mariadbd || ls /usr/sbin/mariadbd 2>/dev/null || true)
as_server() {
  if [[ $(id -u) -eq 0 ]]; then runuser -u nobody -- "$@"; else "$@"; fi
}
stop_server() {
  [[ -f "$dir/server.pid" ]] || return 0
  local pid
  pid=$(cat "$dir/server.pid")
  kill -KILL "$pid" 2>/dev/null || true
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  rm -f "$dir/server.pid"
}

case "$action" in
  start)
    if [[ -z "$server" ]] || ! command -v mariadb-install-db >/dev/null; then
      echo "mariadb_server.sh: no MariaDB server (mariadbd, mariadb-install-db); install the package" \
           "mariadb-server (scripts/install-deps.sh packages-test.txt)" >&2
      exit 1
    fi
    # A server left behind by an interrupted run goes first.
    stop_server
    rm -rf "$dir/data"
    mkdir -p "$dir"
    dir=$(cd "$dir" && pwd)
    [[ $(id -u) -eq 0 ]] && chown nobody "$dir"
    # Its own temporary folder: a starting server removes every temporary table file it finds in
    # its temporary folder, so two servers starting at once in the shared /tmp remove each other's.
    as_server mariadb-install-db --no-defaults --datadir="$dir/data" --tmpdir="$dir" --auth-root-authentication-method=normal \
      --skip-test-db >"$dir/install.log" 2>&1 || { cat "$dir/install.log" >&2; exit 1; }
    as_server "$server" --no-defaults --datadir="$dir/data" --socket="$dir/server.sock" --skip-networking \
      --pid-file="$dir/server.pid" --log-error="$dir/server.log" --tmpdir="$dir" \
      --innodb-buffer-pool-size=64M --innodb-flush-log-at-trx-commit=0 --character-set-server=utf8mb4 \
      --collation-server=utf8mb4_bin >/dev/null 2>&1 &
    for _ in $(seq 600); do
      mariadb-admin --no-defaults --socket="$dir/server.sock" -u root ping >/dev/null 2>&1 && break
      sleep 0.1
    done
    mariadb --no-defaults --socket="$dir/server.sock" -u root -e \
      "CREATE DATABASE quelo; CREATE USER quelo@localhost; GRANT ALL ON quelo.* TO quelo@localhost;" \
      || { cat "$dir/server.log" >&2; exit 1; }
    # The connection, printed and kept for the tests that join a server the run started.
    echo "SERVER=localhost;SOCKET=$dir/server.sock;UID=quelo;PWD=;DATABASE=quelo" | tee "$dir/connection"
    ;;
  stop)
    stop_server
    rm -rf "$dir"
    ;;
  *)
    echo "usage: mariadb_server.sh start|stop DIR" >&2
    exit 2
    ;;
esac
