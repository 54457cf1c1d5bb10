#!/usr/bin/env bash
# Installs a build into a fresh prefix and checks what an installation must hold, then writes the
# sample report with the installed quelo alone: check-install.sh BUILD_DIR
set -euo pipefail
build=$1
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
expect bin/quelo share/man/man1/quelo.1 share/man/man1/quelo-report.1 share/man/man1/quelo-call.1 \
  share/man/man1/quelo-describe.1 share/bash-completion/completions/quelo \
  share/doc/varnikquelo/LICENSE share/varnikquelo/sample/products.db \
  'share/varnikquelo/sample/pictures/*.png'
if [[ -x $build/apps/quelo-gui/quelo-gui ]]; then
  expect bin/quelo-gui share/applications/quelo-gui.desktop \
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
