#!/usr/bin/env bash
# Starts or stops a throw-away two-shard ClickHouse cluster for the tests: two servers on
# 127.0.0.1 with their data in DIR/shard1 and DIR/shard2, on free ports, each knowing the cluster
# "two_shards" of both. Users: "default" without a password and "reader" with the password
# "secret".
#   clickhouse_server.sh start DIR   prints the two servers' HTTP URLs, one a line, once both answer
#                                    (also kept in DIR/urls; their native TCP ports in DIR/tcp_ports)
#   clickhouse_server.sh stop DIR    stops them and removes DIR
# As root, the servers run as the unprivileged user "nobody".
set -euo pipefail
action=${1:?usage: clickhouse_server.sh start|stop DIR}
dir=${2:?usage: clickhouse_server.sh start|stop DIR}

server=$(command -v clickhouse-server || ls /usr/sbin/clickhouse-server 2>/dev/null || true)
as_server() {
  if [[ $(id -u) -eq 0 ]]; then runuser -u nobody -- "$@"; else "$@"; fi
}
stop_servers() {
  local pid
  for pidfile in "$dir"/shard*/server.pid; do
    [[ -f "$pidfile" ]] || continue
    pid=$(cat "$pidfile")
    kill -KILL "$pid" 2>/dev/null || true
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    rm -f "$pidfile"
  done
}
# A port nothing listens on, from a range of its own for each call.
free_port() {
  local port
  for _ in $(seq 200); do
    port=$((20000 + RANDOM % 30000))
    if ! (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then echo "$port"; return; fi
  done
  return 1
}

write_config() {  # FOLDER HTTP_PORT TCP_PORT
  mkdir -p "$1/config.d" "$1/data" "$1/tmp"
  cat >"$1/config.xml" <<XML
<?xml version="1.0"?>
<yandex>
  <logger><level>warning</level><log>$1/server.log</log><errorlog>$1/error.log</errorlog></logger>
  <listen_host>127.0.0.1</listen_host>
  <http_port>$2</http_port>
  <tcp_port>$3</tcp_port>
  <path>$1/data/</path>
  <tmp_path>$1/tmp/</tmp_path>
  <user_files_path>$1/tmp/</user_files_path>
  <users_config>$1/users.xml</users_config>
  <default_profile>default</default_profile>
  <default_database>default</default_database>
  <timezone>UTC</timezone>
  <mark_cache_size>67108864</mark_cache_size>
  <uncompressed_cache_size>67108864</uncompressed_cache_size>
  <max_concurrent_queries>20</max_concurrent_queries>
</yandex>
XML
  cat >"$1/users.xml" <<XML
<?xml version="1.0"?>
<yandex>
  <profiles><default><max_memory_usage>1000000000</max_memory_usage></default></profiles>
  <quotas><default></default></quotas>
  <users>
    <default><password></password><networks><ip>127.0.0.1</ip></networks><profile>default</profile><quota>default</quota></default>
    <reader><password>secret</password><networks><ip>127.0.0.1</ip></networks><profile>default</profile><quota>default</quota></reader>
  </users>
</yandex>
XML
}

case "$action" in
  start)
    if [[ -z "$server" ]]; then
      echo "clickhouse_server.sh: no ClickHouse server (clickhouse-server); install the package" \
           "clickhouse-server (scripts/install-deps.sh packages-test.txt)" >&2
      exit 1
    fi
    stop_servers
    rm -rf "$dir"/shard*
    mkdir -p "$dir"
    dir=$(cd "$dir" && pwd)
    http=() tcp=()
    for n in 1 2; do
      http+=("$(free_port)")
      tcp+=("$(free_port)")
      write_config "$dir/shard$n" "${http[-1]}" "${tcp[-1]}"
    done
    for n in 1 2; do
      cat >"$dir/shard$n/config.d/cluster.xml" <<XML
<?xml version="1.0"?>
<yandex><remote_servers><two_shards>
  <shard><replica><host>127.0.0.1</host><port>${tcp[0]}</port></replica></shard>
  <shard><replica><host>127.0.0.1</host><port>${tcp[1]}</port></replica></shard>
</two_shards></remote_servers></yandex>
XML
    done
    [[ $(id -u) -eq 0 ]] && chown -R nobody "$dir"
    for n in 1 2; do
      # The server's own process id, kept by the shell it replaces (the server writes none itself
      # unless it runs as a daemon).
      # Nothing of the caller's stays open in the servers: whoever reads this script's output
      # gets its end.
      (cd "$dir/shard$n" && as_server bash -c 'echo $$ >"$1" && shift && exec "$@"' _ "$dir/shard$n/server.pid" \
        "$server" --config-file="$dir/shard$n/config.xml") >"$dir/shard$n/stdout.log" 2>&1 </dev/null &
    done
    for n in 0 1; do
      url="http://127.0.0.1:${http[$n]}/"
      for _ in $(seq 600); do
        [[ $(curl -s "$url" 2>/dev/null) == "Ok." ]] && break
        sleep 0.1
      done
      [[ $(curl -s "$url" 2>/dev/null) == "Ok." ]] || { cat "$dir/shard$((n + 1))"/*.log >&2; exit 1; }
    done
    printf '%s\n' "${tcp[@]}" >"$dir/tcp_ports"
    printf 'http://127.0.0.1:%s\n' "${http[@]}" | tee "$dir/urls"
    ;;
  stop)
    stop_servers
    rm -rf "$dir"
    ;;
  *)
    echo "usage: clickhouse_server.sh start|stop DIR" >&2
    exit 2
    ;;
esac
