#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once in a normal build, once in a build
# with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh packages-build.txt packages-test.txt
jobs=$(nproc)

echo "== build and test (release with debug info)"
# Tests on explicitly: the build folder may have been configured without them (scripts/run.sh).
bash scripts/build.sh build -DQUELO_REQUIRE_QT=ON -DQUELO_TESTS=ON
ctest --test-dir build --output-on-failure --no-tests=error -j "$jobs"
bash scripts/check-install.sh build
echo "== Debian packages"
rm -f build/*.deb
(cd build && cpack -G DEB >/dev/null)
ls -1 build/*.deb
# Debian's checks: no error and no warning (cmake/QueloDebian.cmake describes the packages).
lintian --fail-on error,warning build/*.deb

echo "== build and test (address and undefined-behaviour sanitizers)"
bash scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DQUELO_SANITIZE=ON -DQUELO_REQUIRE_QT=ON -DQUELO_TESTS=ON
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp:print_suppressions=0 \
  ctest --test-dir build-asan --output-on-failure --no-tests=error -j "$jobs"

# Fuzz targets: a short run of each, so that a regression the fuzzers know is caught.
echo "== fuzz targets (20 s each)"
bash scripts/fuzz.sh 20
