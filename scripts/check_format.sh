#!/usr/bin/env bash
# Checks that the C and C++ sources follow .clang-format. Files written before the format was
# enforced are listed in scripts/format-pending.txt: a change that touches one formats it
# (`clang-format -i FILE`) and takes it off the list, so the list only shrinks. Prints each file
# that is not clean, and each listed file that is gone or already clean, and exits 1 when there
# is one. Usage: check_format.sh [ROOT]
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"
format=${CLANG_FORMAT:-clang-format}
if ! command -v "$format" >/dev/null; then
  echo "format: $format is not installed (Debian package clang-format)" >&2
  exit 1
fi

mapfile -t sources < <(find src apps include tests examples bench -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' \) \
                         -not -path 'tests/golden/*' | sort)
declare -A exists unclean pending
for file in "${sources[@]}"; do exists[$file]=1; done
# One run over every file; each place that is off is a line "FILE:LINE:COL: error: ...".
while IFS= read -r file; do unclean[$file]=1; done < <(
  printf '%s\0' "${sources[@]}" | xargs -0 "$format" --dry-run --Werror 2>&1 |
  sed -nE 's/^(.+):[0-9]+:[0-9]+: (warning|error): .*/\1/p' | sort -u)
while IFS= read -r file; do
  [[ -n $file && $file != \#* ]] && pending[$file]=1
done < scripts/format-pending.txt

status=0
for file in "${sources[@]}"; do
  if [[ -n ${pending[$file]+set} ]]; then
    [[ -n ${unclean[$file]+set} ]] && continue
    echo "$file: clean now; take it off scripts/format-pending.txt"
  elif [[ -n ${unclean[$file]+set} ]]; then
    echo "$file: not formatted (clang-format -i $file)"
  else
    continue
  fi
  status=1
done
for file in "${!pending[@]}"; do
  [[ -n ${exists[$file]+set} ]] && continue
  echo "$file: listed in scripts/format-pending.txt but not there"
  status=1
done

if ((status == 0)); then
  echo "format: $((${#sources[@]} - ${#pending[@]})) files clean, ${#pending[@]} left to format"
fi
exit $status
