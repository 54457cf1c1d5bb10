#!/usr/bin/env bash
# Installs what is missing, builds, and runs the main job.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh packages-build.txt
bash scripts/build.sh build -DQUELO_TESTS=OFF
./build/apps/quelo/quelo describe
