#!/usr/bin/env bash
# Compiles every public header alone against an installation, and fails on a header that includes
# anything but a system header or another installed public one: check-headers.sh PREFIX, or
# check-headers.sh BUILD_DIR (its development files are installed into a scratch prefix first).
set -euo pipefail
where=$1
cxx=${CXX:-c++}
prefix=$where
if [[ -f $where/CMakeCache.txt ]]; then
  prefix=$(mktemp -d /tmp/quelo-headers-XXXXXX)
  trap 'rm -rf "$prefix"' EXIT
  for component in dev qtdev; do
    cmake --install "$where" --prefix "$prefix" --component "$component" >/dev/null
  done
fi
include="$prefix/include"

failed=0 count=0
for header in "$include"/varnikquelo/*.h; do
  name=varnikquelo/$(basename "$header")
  # Only <system> headers and installed <varnikquelo/...> ones.
  while read -r included; do
    if [[ $included == \"* || ($included == \<varnikquelo/* && ! -f $include/${included:1:-1}) ]]; then
      echo "check-headers: $name includes $included, which is not installed" >&2
      failed=1
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*\([<"][^>"]*[>"]\).*/\1/p' "$header")
  flags=()
  if grep -q '<Q[A-Za-z]*>' "$header"; then
    read -ra flags <<<"$(pkg-config --cflags Qt6Widgets) -fPIC"
  fi
  if ! printf '#include <%s>\n' "$name" |
      "$cxx" -std=c++17 -Wall -Wextra -Werror -fsyntax-only -I"$include" "${flags[@]}" -x c++ -; then
    echo "check-headers: $name does not compile alone" >&2
    failed=1
  fi
  count=$((count + 1))
done
((count > 0)) || { echo "check-headers: no public header under $include" >&2; exit 1; }
((failed == 0)) || exit 1
echo "check-headers: $count public headers compile alone"
