#!/usr/bin/env bash
# Writes the man page of quelo or of one of its commands from the program's own --help, so the
# page says what the program says: man-page.sh QUELO VERSION OUT [COMMAND]
set -euo pipefail
quelo=$1 version=$2 out=$3 command=${4:-}

# Text as roff: a backslash is \e, and a line that starts with a dot or a quote is not a request.
roff() { sed -e 's/\\/\\e/g' -e "s/^\([.']\)/\\\\\&\1/"; }

# The one-line summary of COMMAND from the command list of `quelo --help`.
summary() {
  "$quelo" --help | awk -v c="$1" '
    $1 == c { grab = 1; next }
    grab && /^                 / { sub(/^ +/, ""); text = text (text ? " " : "") $0; next }
    grab { exit }
    END { print text }'
}

if [[ -n $command ]]; then
  name="quelo-$command" help=$("$quelo" "$command" --help) what=$(summary "$command")
  see='\fBquelo\fR(1)'
else
  name=quelo help=$("$quelo" --help) what='make linked HTML reports of database tables and run the control'\''s members'
  see='\fBquelo-report\fR(1), \fBquelo-call\fR(1), \fBquelo-describe\fR(1)'
fi
usage=$(sed -n '1s/^usage: //p' <<<"$help")
body=$(sed '1d' <<<"$help" | sed '/./,$!d')

{
  echo ".TH ${name^^} 1 \"\" \"VarnikQuelo $version\" \"User Commands\""
  echo '.SH NAME'
  echo "$name \\- $(roff <<<"$what")"
  echo '.SH SYNOPSIS'
  echo '.nf'
  roff <<<"$usage"
  echo '.fi'
  echo '.SH DESCRIPTION'
  echo '.nf'
  roff <<<"$body"
  echo '.fi'
  echo '.SH SEE ALSO'
  echo "$see"
} >"$out"
