#!/usr/bin/env bash
# Builds the fuzz targets of tests/fuzz (clang, address and undefined-behaviour sanitizers, only
# the core library: no Qt) into build-fuzz, and runs each for SECONDS (default 60) from its seed
# corpus. fuzz.sh [SECONDS] [TARGET...]: by default every target. A finding stops the run with the
# input that caused it saved as build-fuzz/findings/TARGET-*; the exit status is then 1.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
build=$root/build-fuzz
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DQUELO_FUZZ=ON -DQUELO_TESTS=OFF \
  -DQUELO_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only" \
  "${launcher[@]}" >/dev/null
ninja -C "$build" quelo_fuzz >&2

targets=("$@")
if [[ ${#targets[@]} -eq 0 ]]; then
  for source in "$root"/tests/fuzz/*_fuzz.cpp; do
    name=$(basename "$source" _fuzz.cpp)
    targets+=("$name")
  done
fi
mkdir -p "$build/findings"
# The targets that go through files keep them in a folder of their own, in memory where it can.
scratch=$(mktemp -d -p "$([[ -w /dev/shm ]] && echo /dev/shm || echo "${TMPDIR:-/tmp}")" quelo-fuzz.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
export TMPDIR=$scratch
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for name in "${targets[@]}"; do
  # New inputs go to a scratch corpus; the seeds in the repository are only read.
  corpus=$build/corpus/$name
  mkdir -p "$corpus"
  echo "== fuzz $name for ${seconds}s"
  if ! "$build/tests/fuzz/quelo_fuzz_$name" -max_total_time="$seconds" -timeout=1 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$build/findings/$name-" "$corpus" "$root/tests/fuzz/corpus/$name" \
      2>"$build/findings/$name.log"; then
    tail -n 60 "$build/findings/$name.log"
    echo "FAILED: fuzz $name (log: $build/findings/$name.log)"
    status=1
    continue
  fi
  grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$build/findings/$name.log" || true
done
exit $status
