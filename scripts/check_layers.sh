#!/usr/bin/env bash
# Checks that the includes of src/ and apps/ run one way: a file in a layer may include its own
# layer and the layers listed before it, never one listed after it. Nor may a layer below the
# control reach it at run time by calling one of its members by name (the members are those its
# type library declares): it goes through a typed interface the control hands down. Prints every
# offence as FILE:LINE and exits 1 when there is one. Usage: check_layers.sh [ROOT]
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

# The layers from the bottom up; the README's "Architecture" section says what each one is.
layers=(automation platform forms data component hyperlink files report report_forms ui control qt apps)

# Edges that are known to go up and are being removed; each is FILE INCLUDED-LAYER.
allowed=()

declare -A rank
for i in "${!layers[@]}"; do rank[${layers[$i]}]=$i; done

layer_of() {  # the layer of a file under src/ or apps/
  case $1 in
    apps/*) echo apps ;;
    src/*) local rest=${1#src/}; echo "${rest%%/*}" ;;
  esac
}

status=0
while IFS= read -r file; do
  own=$(layer_of "$file")
  if [[ -z ${rank[$own]+set} ]]; then
    echo "$file: folder '$own' is in no layer (add it to scripts/check_layers.sh)"
    status=1
    continue
  fi
  while IFS=: read -r line included; do
    [[ -z ${rank[$included]+set} ]] && continue  # a local or system header
    ((rank[$included] <= rank[$own])) && continue
    for edge in "${allowed[@]}"; do [[ $edge == "$file $included" ]] && continue 2; done
    echo "$file:$line: $own includes $included, a layer above it"
    status=1
  done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]+"[a-z_]+/' "$file" |
           sed -E 's@^([0-9]+):[^"]*"([a-z_]+)/.*@\1:\2@')
done < <(find src apps -type f \( -name '*.h' -o -name '*.cpp' \) | sort)

# Calls by name of the control's members from the layers below it. The property page is exempt:
# it edits whatever objects the designer's frame has selected, through their automation face.
members=$(grep -oE '\b(method|property)\("[A-Za-z_]+"' src/control/type_library.cpp | sed -E 's/.*"(.*)"/\1/' |
          sort -u | paste -sd'|')
below=()
for layer in "${layers[@]}"; do
  [[ $layer == control ]] && break
  [[ -d src/$layer ]] && below+=("src/$layer")
done
while IFS= read -r hit; do
  echo "$hit: calls a member of the control by name"
  status=1
done < <(grep -rnE "(call|get|put|invoke|idOfName)\(\"($members)\"" "${below[@]}" | cut -d: -f1,2 |
         grep -v '^src/ui/property_page.cpp:')

if ((status == 0)); then echo "layers: every include runs down (${layers[*]}), no member of the control called by name below it"; fi
exit $status
