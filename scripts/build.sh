#!/usr/bin/env bash
# Configures and builds one tree: build.sh DIR [CMAKE OPTIONS...]
set -euo pipefail
dir=$1
shift
root=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$root" -B "$root/$dir" -G Ninja "$@" >/dev/null
ninja -C "$root/$dir" >&2
