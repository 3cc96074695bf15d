#!/usr/bin/env bash
# Builds and runs every test: the GoogleTest suite, the report's browser
# tests and the format check in a Release build, the Python package's tests
# (the package built, installed into a virtual environment and tested with
# pytest), the whole suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer, whole runs of both programs under valgrind
# memcheck, and a short run of each fuzz target.
# Tests that need the data sets beside the project skip when they are absent;
# the skipped tests and their reasons are listed at the end.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
requirePackages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${PYTHON_PACKAGES[@]}"
jobs=$(nproc)

# listSkipped BUILD_DIR: the reasons the last ctest run in BUILD_DIR gave
# for its skipped tests, each with the number of tests it skipped.
listSkipped() {
  local log=$1/Testing/Temporary/LastTest.log
  [[ -f $log ]] || return 0
  { grep -h -A1 -E ': Skipped$' "$log" | grep -v -E ': Skipped$|^--$' || true
    grep -h -E '^skipped: ' "$log" || true; } | sort | uniq -c
}

echo "== Release build and tests"
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Release -DGENECLUB_BUILD_BENCHMARKS=ON > /dev/null
cmake --build build/test -j"$jobs"
ctest --test-dir build/test --output-on-failure -j"$jobs"
skipped=$(listSkipped build/test)

echo "== Python package: install into a virtual environment, then its tests"
# Debian's Python (not another one first on the PATH), with Debian's numpy,
# pandas and scikit-learn; the package's build reuses build/python.
venv=build/python-venv
[[ -x $venv/bin/python ]] || /usr/bin/python3 -m venv --system-site-packages "$venv"
"$venv/bin/pip" install --no-index --no-build-isolation --disable-pip-version-check .
python_log=build/python-tests.log
GENECLUB_BATCH=build/test/app/geneclub-batch "$venv/bin/python" -m pytest -p no:cacheprovider \
  -rs python/tests | tee "$python_log"
python_skipped=$(grep -E '^SKIPPED ' "$python_log" || true)

echo "== AddressSanitizer and UndefinedBehaviorSanitizer build and tests"
cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DGENECLUB_SANITIZE=ON > /dev/null
cmake --build build/sanitize -j"$jobs"
ctest --test-dir build/sanitize --output-on-failure -j"$jobs"

echo "== Whole runs under valgrind memcheck"
scripts/memcheck.sh build/test

echo "== Fuzz targets"
scripts/fuzz.sh 60

if [[ -n $skipped || -n $python_skipped ]]; then
  echo "== Skipped tests (count and reason)"
  [[ -z $skipped ]] || echo "$skipped"
  [[ -z $python_skipped ]] || echo "$python_skipped"
fi
echo "== All tests passed"
