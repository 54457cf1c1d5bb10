#!/usr/bin/env bash
# Starts or stops a throw-away PostgreSQL server for the tests, on a Unix socket in DIR, with the
# data in DIR/data and trust authentication for the user "quelo" (nothing listens on TCP).
#   postgres_server.sh start DIR   prints the connection string on stdout once the server is up
#   postgres_server.sh stop DIR    stops it and removes DIR
# As root, the server runs as the unprivileged user "nobody" (PostgreSQL refuses to run as root).
set -euo pipefail
action=${1:?usage: postgres_server.sh start|stop DIR}
dir=${2:?usage: postgres_server.sh start|stop DIR}

bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1 || true)
have_server() { [[ -n "$bindir" && -x "$bindir/initdb" && -x "$bindir/pg_ctl" ]]; }

as_server() {
  if [[ $(id -u) -eq 0 ]]; then runuser -u nobody -- "$@"; else "$@"; fi
}

case "$action" in
  start)
    if ! have_server; then
      echo "postgres_server.sh: no PostgreSQL server binaries (initdb, pg_ctl) under /usr/lib/postgresql;" \
           "install the package postgresql (scripts/install-deps.sh packages-test.txt)" >&2
      exit 1
    fi
    # A server left behind by an interrupted run goes first.
    if [[ -d "$dir/data" ]]; then
      as_server "$bindir/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
      rm -rf "$dir/data"
    fi
    mkdir -p "$dir"
    dir=$(cd "$dir" && pwd)
    [[ $(id -u) -eq 0 ]] && chown nobody "$dir"
    as_server "$bindir/initdb" -D "$dir/data" -U quelo --auth=trust --encoding=UTF8 --locale=C.UTF-8 \
      --no-sync >"$dir/initdb.log" 2>&1 || { cat "$dir/initdb.log" >&2; exit 1; }
    as_server "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
      -o "-k $dir -c listen_addresses= -c fsync=off -p 5432" start >/dev/null \
      || { cat "$dir/server.log" >&2; exit 1; }
    # The connection, printed and kept for the tests that join a server the run started.
    echo "host=$dir port=5432 user=quelo dbname=postgres" | tee "$dir/connection"
    ;;
  stop)
    if [[ -d "$dir/data" ]] && have_server; then
      as_server "$bindir/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
    fi
    rm -rf "$dir"
    ;;
  *)
    echo "usage: postgres_server.sh start|stop DIR" >&2
    exit 2
    ;;
esac
