#!/usr/bin/env bash
# Installs a build into a fresh prefix and checks what an installation must hold, then writes the
# sample report with the installed quelo alone: check-install.sh BUILD_DIR
set -euo pipefail
build=$1
root=$(cd "$(dirname "$0")/.." && pwd)
libdir=$(sed -n 's/^CMAKE_INSTALL_LIBDIR:PATH=//p' "$build/CMakeCache.txt")
prefix=$(mktemp -d /tmp/quelo-install-XXXXXX)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

missing=0
expect() {
  for pattern in "$@"; do
    # shellcheck disable=SC2086 # the pattern is a glob
    if ! compgen -G "$prefix/$pattern" >/dev/null; then
      echo "check-install: nothing installed at $pattern" >&2
      missing=1
    fi
  done
}
expect bin/quelo share/man/man1/quelo.1.gz share/man/man1/quelo-report.1.gz \
  share/man/man1/quelo-call.1.gz share/man/man1/quelo-describe.1.gz \
  share/bash-completion/completions/quelo share/doc/varnikquelo/LICENSE share/doc/varnikquelo/README \
  share/doc/varnikquelo/examples/embed/CMakeLists.txt share/varnikquelo/sample/products.db \
  'share/varnikquelo/sample/pictures/*.png'
if [[ -x $build/apps/quelo-gui/quelo-gui ]]; then
  expect bin/quelo-gui share/applications/quelo-gui.desktop share/man/man1/quelo-gui.1.gz \
    share/icons/hicolor/scalable/apps/varnikquelo.svg
fi
if compgen -G "$build/plugins/designer/*.so" >/dev/null; then
  expect 'lib/*/qt6/plugins/designer/libquelo-designer.so'
fi
bash -n "$prefix/share/bash-completion/completions/quelo"
((missing == 0)) || exit 1

# The installed quelo finds its sample data under the prefix, from any folder.
app="$prefix/app"
mkdir -p "$app"
(cd / && "$prefix/bin/quelo" report --app-path "$app" --quiet >"$prefix/pages")
[[ -s $prefix/pages ]] || { echo "check-install: the installed quelo wrote no page" >&2; exit 1; }
grep -q "$prefix/share/varnikquelo/sample/pictures/" "$app/Reports/autogenrep1.htm" ||
  { echo "check-install: the sample report does not show the installed pictures" >&2; exit 1; }
echo "check-install: $(find "$prefix" -type f | wc -l) files installed; the installed quelo wrote $(wc -l <"$prefix/pages") pages"

# The libraries and their development files: every public header compiles alone, and a program of
# its own builds against the prefix with find_package and with pkg-config, and runs.
expect "$libdir/libquelo.so.*" "$libdir/cmake/VarnikQuelo/VarnikQueloConfig.cmake" \
  "$libdir/cmake/VarnikQuelo/VarnikQueloConfigVersion.cmake" "$libdir/pkgconfig/varnikquelo.pc" \
  include/varnikquelo/report.h include/varnikquelo/version.h include/varnikquelo/control.h \
  include/varnikquelo/records.h include/varnikquelo/value.h share/man/man3/varnikquelo-members.3.gz
((missing == 0)) || exit 1
# The member reference reads as a man page, without a warning of the formatter.
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z \
  "$prefix/share/man/man3/varnikquelo-members.3.gz" 2>&1 >/dev/null || true)
[[ -z $warnings ]] || { echo "check-install: varnikquelo-members(3): $warnings" >&2; exit 1; }
bash "$root/scripts/check-headers.sh" "$prefix"

# The shared libraries export the public API alone: what is in namespace varnikquelo, with the
# members Qt's moc writes for the public widget (there too); and libquelo-qt the type information
# of the public widget, which a program's subclass or dynamic_cast needs.
while IFS= read -r -d '' lib; do
  symbols=$(nm -DC --defined-only "$lib" | cut -d' ' -f3-)
  leaked=$(grep -Ev '^((vtable|typeinfo|typeinfo name) for )?varnikquelo::' <<<"$symbols" || true)
  if [[ -n $leaked ]]; then
    echo "check-install: $(basename "$lib") exports symbols outside the public API:" >&2
    echo "$leaked" | head -20 >&2
    exit 1
  fi
  if [[ $lib == */libquelo-qt.so.* ]] && ! grep -qx 'typeinfo for varnikquelo::QueloWidget' <<<"$symbols"; then
    echo "check-install: $(basename "$lib") does not export the type information of varnikquelo::QueloWidget" >&2
    exit 1
  fi
done < <(find "$prefix/$libdir" -maxdepth 1 -type f -name 'libquelo*.so.*' -print0)

db="$prefix/share/varnikquelo/sample/products.db"
query="SELECT Name, Price, Quantity FROM products ORDER BY id"
records=$(sqlite3 "$db" "SELECT count(*) FROM products")
first=$(sqlite3 "$db" "SELECT Name FROM products ORDER BY id LIMIT 1")
first=${first// /'&nbsp;'}  # as a page writes it
# Runs an embed-report build: one page per five records, each written, the first record on page 1.
check_report() {
  local program=$1 how=$2 out="$prefix/embed-$2"
  mkdir -p "$out/app"
  "$program" "$db" "$query" "$out/app" >"$out/pages" 2>/dev/null ||
    { echo "check-install: the example built with $how failed" >&2; exit 1; }
  local pages
  pages=$(wc -l <"$out/pages")
  if ((pages != (records + 4) / 5)); then
    echo "check-install: the example built with $how wrote $pages pages for $records records" >&2
    exit 1
  fi
  while read -r page; do
    [[ -s $page ]] || { echo "check-install: $how: page $page is missing" >&2; exit 1; }
  done <"$out/pages"
  grep -qF "$first" "$(head -1 "$out/pages")" ||
    { echo "check-install: $how: the first page does not show $first" >&2; exit 1; }
}

# The examples build from where they are installed. Against the headless part alone (libquelo and
# its development files, with Qt hidden from CMake) the report and control examples build and the
# widget's does not; against the whole installation the widget's builds with the component Qt.
headless="$prefix/headless"
for component in lib dev; do
  cmake --install "$build" --prefix "$headless" --component "$component" >/dev/null
done
if compgen -G "$headless/include/varnikquelo/widget.h" >/dev/null || compgen -G "$headless/$libdir/libquelo-qt*" >/dev/null; then
  echo "check-install: the headless components install the Qt widget" >&2
  exit 1
fi
# Builds the installed examples against PREFIX in FOLDER, quiet when they build.
build_examples() {
  local from=$1 folder=$2
  shift 2
  cmake -S "$from/share/doc/varnikquelo/examples/embed" -B "$folder" -G Ninja -DCMAKE_PREFIX_PATH="$from" "$@" \
    >"$folder.log" 2>&1 && cmake --build "$folder" >>"$folder.log" 2>&1 ||
    { cat "$folder.log" >&2; echo "check-install: the examples do not build against $from" >&2; exit 1; }
}
build_examples "$headless" "$prefix/build-headless" -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON
[[ ! -e $prefix/build-headless/embed-widget ]] ||
  { echo "check-install: the widget example built without the component Qt" >&2; exit 1; }
check_report "$prefix/build-headless/embed-report" find_package-headless

build_examples "$prefix" "$prefix/build-cmake"
check_report "$prefix/build-cmake/embed-report" find_package
if [[ -x $build/apps/quelo-gui/quelo-gui && ! -x $prefix/build-cmake/embed-widget ]]; then
  echo "check-install: the widget example did not build with the component Qt" >&2
  exit 1
fi

# The control without a window reports on the program's own records (8 of them, 4 a page) through
# the typed API and AutoZeReporter, and logs a message; its settings stay under the prefix.
out="$prefix/embed-control"
mkdir -p "$out/app"
XDG_CONFIG_HOME="$prefix/config" "$prefix/build-headless/embed-control" "$out/app" >"$out/pages" 2>"$out/errors" ||
  { echo "check-install: the control example failed: $(cat "$out/errors")" >&2; exit 1; }
[[ $(wc -l <"$out/pages") == 2 ]] && grep -qF 'Neptune' "$out/app/Reports/planets2.htm" &&
  grep -qF 'Jupiter' "$out/app/Reports/moons.htm" && grep -qF 'two&nbsp;reports&nbsp;written' "$out/app/Reports/Log/ZeMessages.htm" ||
  { echo "check-install: the control example did not write its reports and its log message" >&2; exit 1; }
if [[ -x $prefix/build-cmake/embed-widget ]]; then
  # libquelo-qt finds libquelo through the loader's path, as in any prefix outside the system's.
  LD_LIBRARY_PATH="$prefix/$libdir" QT_QPA_PLATFORM=offscreen QUELO_EMBED_SMOKE=1 "$prefix/build-cmake/embed-widget" ||
    { echo "check-install: the Qt host example failed" >&2; exit 1; }
fi

mkdir -p "$prefix/build-pc"
cp "$prefix/share/doc/varnikquelo/examples/embed/"{Makefile,report.cpp,control.cpp} "$prefix/build-pc/"
PKG_CONFIG_PATH="$prefix/$libdir/pkgconfig" make -s -C "$prefix/build-pc"
check_report "$prefix/build-pc/embed-report" pkg-config
echo "check-install: the embedding example built with find_package (headless and whole) and pkg-config wrote $(((records + 4) / 5)) pages each; the control example reported on its own records"
