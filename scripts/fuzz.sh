#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer included) and runs each one: first over the
# inputs that once found faults (tests/fuzz/regressions/<target>), then for
# SECONDS seconds (default 60) from its seed corpus. Paths are absolute
# because the dialogue target works in a temporary directory of its own.
#   scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
seconds=${1:-60}

cmake -S . -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DGENECLUB_FUZZ=ON > /dev/null
cmake --build build/fuzz -j"$(nproc)" --target load_data_fuzzer dialogue_fuzzer \
  table_reader_fuzzer > /dev/null

declare -A maxLength=([load_data_fuzzer]=4096 [dialogue_fuzzer]=64 [table_reader_fuzzer]=4096)
for target in load_data_fuzzer dialogue_fuzzer table_reader_fuzzer; do
  fuzzer=$root/build/fuzz/tests/fuzz/$target
  regressions=$root/tests/fuzz/regressions/$target
  if compgen -G "$regressions/*" > /dev/null; then
    echo "-- $target: saved regression inputs"
    "$fuzzer" "$regressions"/* > "$root/build/fuzz/$target.log" 2>&1 ||
      { cat "$root/build/fuzz/$target.log"; exit 1; }
  fi
  echo "-- $target: fuzzing for $seconds s"
  corpus=$root/build/fuzz/corpus/$target
  mkdir -p "$corpus"
  "$fuzzer" -max_total_time="$seconds" -max_len="${maxLength[$target]}" -timeout=20 \
    -print_final_stats=1 "$corpus" "$root/tests/fuzz/seeds/$target" \
    > "$root/build/fuzz/$target.log" 2>&1 || { tail -n 60 "$root/build/fuzz/$target.log"; exit 1; }
  grep -E "^stat::(number_of_executed_units|new_units_added)" "$root/build/fuzz/$target.log"
done
