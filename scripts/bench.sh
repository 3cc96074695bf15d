#!/usr/bin/env bash
# Measures the program as a whole process, start-up alone (choice 0) and a
# whole session (methods 1 to 4, then "n"), on the demo data and, when
# present, the shared real data set: median wall time of RUNS runs and peak
# memory. Then runs the per-stage Google Benchmark programs.
#   scripts/bench.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
requirePackages "${BUILD_PACKAGES[@]}" time:/usr/bin/time bc:bc \
  libbenchmark-dev:/usr/lib/x86_64-linux-gnu/cmake/benchmark/benchmarkConfig.cmake
runs=${1:-21}

cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DGENECLUB_BUILD_TESTS=OFF \
  -DGENECLUB_BUILD_BENCHMARKS=ON > /dev/null
cmake --build build/bench -j"$(nproc)" > /dev/null
program=$(realpath build/bench/app/geneclub)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
build/bench/tools/make_demo_data "$work/demo.data"
datasets=(demo)
shared=../shared/data/colonTumor.data
[[ -f $shared ]] && cp "$shared" "$work/real.data" && datasets+=(real)

# measure NAME DATA INPUT: prints the median wall time in ms and the peak
# resident memory of RUNS runs.
measure() {
  local name=$1 data=$2 input=$3 times=() start end rss
  mkdir -p "$work/run" && cp "$work/$data.data" "$work/run/colonTumor.data"
  printf "$input" > "$work/stdin"
  pushd "$work/run" > /dev/null
  for ((i = 0; i < runs; i++)); do
    rm -f EP.data diseaseEP.data normalEP.data
    start=$EPOCHREALTIME
    "$program" < "$work/stdin" > /dev/null
    end=$EPOCHREALTIME
    times+=("$(echo "($end - $start) * 1000" | bc -l)")
  done
  rss=$(/usr/bin/time -f %M "$program" < "$work/stdin" 2>&1 > /dev/null)
  popd > /dev/null
  printf '%-28s %8.1f ms %8s KB\n' "$name" \
    "$(printf '%s\n' "${times[@]}" | sort -g | sed -n "$(((runs + 1) / 2))p")" "$rss"
}

printf '%-28s %11s %11s\n' "whole process ($runs runs)" "median wall" "peak memory"
for data in "${datasets[@]}"; do
  measure "$data data, start-up" "$data" '0\n'
  measure "$data data, whole session" "$data" '1\ny\n2\ny\n3\ny\n4\nn\n'
done

for data in "${datasets[@]}"; do
  echo
  echo "stages on the $data data:"
  GENECLUB_DATA="$work/$data.data" build/bench/bench/geneclub_bench --benchmark_format=console \
    2> /dev/null | grep -E '^BM_'
done
