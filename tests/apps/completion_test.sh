#!/usr/bin/env bash
# Runs quelo's bash completion function as bash-completion would and checks what it offers:
# completion_test.sh COMPLETION_SCRIPT QUELO_BINARY
set -euo pipefail
source /usr/share/bash-completion/bash_completion
source "$1"
# Hand the real binary to the function under the name it completes.
binary=$2
quelo() { "$binary" "$@"; }

failed=0
# offers LINE WORD...: completing LINE (its last word is the one completed) offers every WORD.
offers() {
  local line=$1
  shift
  read -ra COMP_WORDS <<<"$line"
  [[ $line == *' ' ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMP_LINE=$line COMP_POINT=${#line}
  COMPREPLY=()
  _quelo quelo "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]:-}"
  # grep reads all of the list (no -q): one that stops at the first match would leave printf
  # writing into a closed pipe, and pipefail would take that for no match.
  for want in "$@"; do
    if ! printf '%s\n' "${COMPREPLY[@]}" | grep -x -- "$want" >/dev/null; then
      echo "completion: '$line' does not offer $want (offers: ${COMPREPLY[*]})" >&2
      failed=1
    fi
  done
  local dups
  dups=$(printf '%s\n' "${COMPREPLY[@]}" | sort | uniq -d)
  [[ -z $dups ]] || { echo "completion: '$line' offers twice: $dups" >&2; failed=1; }
}

offers 'quelo ' report call describe --help --version
offers 'quelo re' report
# Completion offers what the help names: every option quelo report takes, so the help names each.
offers 'quelo report --' --sqlite --csv --postgres --odbc --clickhouse --query --app-path --file --title \
  --pic-fields --graphic-folder --company --action --max-recs --cancel-at-page --delimiter --encoding --setting \
  --field --delete-on-cancel --escape-values --copy-pictures --replace --pdf --strict-quotes --quiet --help
offers 'quelo report --q' --query --quiet
offers 'quelo report --action ' 0 1 10 11
offers 'quelo report --encoding WIN' WINDOWS-1252
offers 'quelo call --' --design --app-path --help
offers 'quelo describe --' --json --help
((failed == 0)) && echo "completion: every case offers what it should"
exit "$failed"
