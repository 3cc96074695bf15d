#!/usr/bin/env bash
# Builds and runs every test: the GoogleTest suite and the format check in a
# Release build, the whole suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer, whole sessions under valgrind memcheck, and a
# short run of each fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
requirePackages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
jobs=$(nproc)

echo "== Release build and tests"
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Release -DGENECLUB_BUILD_BENCHMARKS=ON > /dev/null
cmake --build build/test -j"$jobs"
ctest --test-dir build/test --output-on-failure -j"$jobs"

echo "== AddressSanitizer and UndefinedBehaviorSanitizer build and tests"
cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DGENECLUB_SANITIZE=ON > /dev/null
cmake --build build/sanitize -j"$jobs"
ctest --test-dir build/sanitize --output-on-failure -j"$jobs"

echo "== Whole sessions under valgrind memcheck"
scripts/memcheck.sh build/test

echo "== Fuzz targets"
scripts/fuzz.sh 60

echo "== All tests passed"
