#!/usr/bin/env bash
# Runs whole sessions (start-up, methods 1 to 4, then "n") under valgrind
# memcheck, on the demo data and, when present, on the shared real data set,
# and geneclub-batch with its report on a generated table; fails on any
# memory error or leak.
#   scripts/memcheck.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "$1")
shared=$(realpath -m ../shared/data/colonTumor.data)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

runSession() {
  local name=$1 data=$2
  mkdir "$work/$name"
  cp "$data" "$work/$name/colonTumor.data"
  printf '1\ny\n2\ny\n3\ny\n4\nn\n' > "$work/$name.stdin"
  (cd "$work/$name" && valgrind --quiet --error-exitcode=99 --leak-check=full \
    --show-leak-kinds=definite,indirect,possible --errors-for-leak-kinds=definite,indirect,possible \
    "$build/app/geneclub" < "$work/$name.stdin" > /dev/null)
  echo "-- $name data: no memory errors, no leaks"
}

"$build/tools/make_demo_data" "$work/demo.data"
runSession demo "$work/demo.data"

"$build/tools/make_demo_data" --table --genes 300 --samples 40 --normal-samples 15 "$work/table.csv"
valgrind --quiet --error-exitcode=99 --leak-check=full \
  --show-leak-kinds=definite,indirect,possible --errors-for-leak-kinds=definite,indirect,possible \
  "$build/app/geneclub-batch" --quiet --report -o "$work/batch" "$work/table.csv"
echo "-- geneclub-batch on a generated table: no memory errors, no leaks"
if [[ -f $shared ]]; then
  runSession real "$shared"
fi
