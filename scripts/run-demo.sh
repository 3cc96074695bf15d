#!/usr/bin/env bash
# Builds both programs (Release) and starts geneclub in demo/ on a generated
# demo data set, so that the method menu comes up at once. An existing
# demo/colonTumor.data is used as it is, never overwritten.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
requirePackages "${BUILD_PACKAGES[@]}"

echo "== Building geneclub and geneclub-batch (Release) in build/release"
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DGENECLUB_BUILD_TESTS=OFF > /dev/null
cmake --build build/release -j"$(nproc)"

mkdir -p demo
if [[ ! -e demo/colonTumor.data ]]; then
  build/release/tools/make_demo_data demo/colonTumor.data
fi
echo "== Starting geneclub in demo/ (for a whole table in one command, see build/release/app/geneclub-batch --help)"
cd demo
exec ../build/release/app/geneclub
