#!/usr/bin/env bash
# Installs what is missing, builds, and writes the report of the bundled sample data under
# build/sample-report/Reports/. Where a desktop is present the first page opens in the browser;
# the page paths are printed in any case.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh packages-build.txt
bash scripts/build.sh build -DQUELO_TESTS=OFF
# A fresh folder each run: pages written under an existing name would be appended to.
app="$root/build/sample-report"
rm -rf "$app"
mkdir -p "$app"
action=0
if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then action=10; fi
./build/apps/quelo/quelo report --app-path "$app" --file products --title "Sample products" --action "$action"
