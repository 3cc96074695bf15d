#!/usr/bin/env bash
# Checks the include graph of the libraries and programs: a file may include
# files of its own folder and of the folders below it in the layer order
# (README.md, "Architecture"), never of a folder above, and no chain of
# includes between files may return to where it started.
#   tests/include_layers.sh SOURCE_DIR
set -euo pipefail
cd "$1"

# Bottom to top; folders on one line share a level and may not include each
# other.
levels=(
  "data"
  "report"
  "readers"
  "patterns"
  "ranking"
  "clubs"
  "analysis"
  "evaluation"
  "results"
  "app tools python"
)
declare -A level
for index in "${!levels[@]}"; do
  for folder in ${levels[$index]}; do level[$folder]=$index; done
done

failures=0
edges=$(mktemp)
trap 'rm -f "$edges"' EXIT
for folder in "${!level[@]}"; do
  for file in "$folder"/*.h "$folder"/*.cc; do
    [[ -e $file ]] || continue
    echo "$file $file" >> "$edges"
    while read -r included; do
      target=${included%%/*}
      echo "$file $included" >> "$edges"
      if [[ -z ${level[$target]+known} ]]; then
        echo "$file includes $included, outside the layers"
        failures=$((failures + 1))
      elif [[ $target != "$folder" ]] && ((level[$target] >= level[$folder])); then
        echo "$file includes $included, which is not in a lower layer"
        failures=$((failures + 1))
      fi
    done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
  done
done
if ! tsort "$edges" > /dev/null 2> "$edges.loop"; then
  echo "the includes form a cycle:"
  cat "$edges.loop"
  failures=$((failures + 1))
fi
rm -f "$edges.loop"
if ((failures > 0)); then
  echo "$failures include(s) break the layer order"
  exit 1
fi
echo "includes follow the layer order: ${levels[*]}"
