#!/usr/bin/env bash
# Measures both programs as whole processes, median wall time of RUNS runs
# and peak memory, then runs the per-stage and per-shape Google Benchmark
# programs:
#   - geneclub: start-up alone (choice 0) and a whole session (methods 1 to 4,
#     then "n") on the demo data and, when present, the shared real data set;
#   - geneclub-batch: the public tables (when present) with all four methods,
#     and prostate-singh.csv ranked only (--methods none) beside the same
#     ranking in pandas and numpy (bench/rank_pandas.py);
#   - the Python package: `import geneclub`; geneclub.analyse with its
#     DataFrames on prostate-singh.csv already in memory (in the process,
#     bench/python_analyse.py) beside geneclub-batch's whole process with the
#     same settings; and a leave-one-out cross_val_predict with EPClassifier
#     on leukemia-golub.csv (in the process, bench/python_loo.py) beside
#     geneclub-batch --evaluate loo --classifier sum, the same classifier.
#   scripts/bench.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
requirePackages "${BUILD_PACKAGES[@]}" time:/usr/bin/time bc:bc \
  libbenchmark-dev:/usr/lib/x86_64-linux-gnu/cmake/benchmark/benchmarkConfig.cmake \
  python3-pandas:/usr/lib/python3/dist-packages/pandas python3-numpy:/usr/lib/python3/dist-packages/numpy \
  "${PYTHON_PACKAGES[@]}"
runs=${1:-21}

echo "== building (Release)"
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DGENECLUB_BUILD_TESTS=OFF \
  -DGENECLUB_BUILD_BENCHMARKS=ON > /dev/null
cmake --build build/bench -j"$(nproc)" > /dev/null
program=$(realpath build/bench/app/geneclub)
batch=$(realpath build/bench/app/geneclub-batch)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
build/bench/tools/make_demo_data "$work/demo.data"
datasets=(demo)
shared=../shared/data/colonTumor.data
public=../shared/data/public
[[ -f $shared ]] && cp "$shared" "$work/real.data" && datasets+=(real)

# median FILE: the median of the numbers in FILE, one per line.
median() { sort -g "$1" | sed -n "$((($(wc -l < "$1") + 1) / 2))p"; }

# timeRuns NAME COMMAND...: runs the command RUNS times in $work/run, prints
# the median wall time in ms and the peak resident memory of one more run.
timeRuns() {
  local name=$1 start end rss
  shift
  : > "$work/times"
  pushd "$work/run" > /dev/null
  for ((i = 0; i < runs; i++)); do
    rm -rf EP.data diseaseEP.data normalEP.data out
    start=$EPOCHREALTIME
    "$@" > /dev/null
    end=$EPOCHREALTIME
    echo "($end - $start) * 1000" | bc -l >> "$work/times"
  done
  rm -rf EP.data diseaseEP.data normalEP.data out
  rss=$(/usr/bin/time -f %M "$@" 2>&1 > /dev/null | tail -n 1)
  popd > /dev/null
  printf '%-44s %8.1f ms %8s KB\n' "$name" "$(median "$work/times")" "$rss"
}

printf '%-44s %11s %11s\n' "whole process ($runs runs)" "median wall" "peak memory"
for data in "${datasets[@]}"; do
  rm -rf "$work/run" && mkdir -p "$work/run" && cp "$work/$data.data" "$work/run/colonTumor.data"
  printf '0\n' > "$work/quit"
  printf '1\ny\n2\ny\n3\ny\n4\nn\n' > "$work/session"
  timeRuns "geneclub, $data data, start-up" sh -c "'$program' < '$work/quit'"
  timeRuns "geneclub, $data data, whole session" sh -c "'$program' < '$work/session'"
done
for table in leukemia-golub prostate-singh; do
  [[ -f $public/$table.csv ]] || continue
  timeRuns "geneclub-batch, $table, methods 1-4" \
    "$batch" --quiet --threads 2 -o out "$(realpath "$public/$table.csv")"
done
if [[ -f $public/prostate-singh.csv ]]; then
  prostate=$(realpath "$public/prostate-singh.csv")
  timeRuns "geneclub-batch, prostate-singh, ranking only" \
    "$batch" --quiet --threads 2 --methods none -o out "$prostate"
  timeRuns "pandas + numpy, prostate-singh, ranking" /usr/bin/python3 "$(realpath bench/rank_pandas.py)" "$prostate"
fi

echo
echo "== the Python package"
venv=$(realpath -m build/bench-venv)
[[ -x $venv/bin/python ]] || /usr/bin/python3 -m venv --system-site-packages "$venv"
GENECLUB_PYTHON_BUILD_DIR=build/bench-python \
  "$venv/bin/pip" install --quiet --no-index --no-build-isolation --disable-pip-version-check .
timeRuns "python, start only" "$venv/bin/python" -c pass
timeRuns "python, import geneclub" "$venv/bin/python" -c "import geneclub"
if [[ -f $public/prostate-singh.csv ]]; then
  echo "analyse with its DataFrames, prostate-singh, in the process:" \
    "$("$venv/bin/python" bench/python_analyse.py "$(realpath "$public/prostate-singh.csv")" "$runs")"
fi
if [[ -f $public/leukemia-golub.csv ]]; then
  leukemia=$(realpath "$public/leukemia-golub.csv")
  timeRuns "geneclub-batch, leukemia-golub, --evaluate loo --classifier sum" \
    "$batch" --quiet --threads 2 --evaluate loo --classifier sum --methods none -o out "$leukemia"
  echo "EPClassifier, leukemia-golub, leave-one-out cross_val_predict in the process:" \
    "$("$venv/bin/python" bench/python_loo.py "$leukemia" 7)"
fi

for data in "${datasets[@]}"; do
  echo
  echo "stages of the interactive program on the $data data:"
  GENECLUB_DATA="$work/$data.data" build/bench/bench/geneclub_bench --benchmark_format=console \
    2> /dev/null | grep -E '^BM_'
done
echo
echo "the engine on synthetic data, start-up and all four methods (samples/genes):"
build/bench/bench/engine_bench --benchmark_format=console 2> /dev/null | grep -E '^BM_'
