#!/usr/bin/env bash
# Builds a fuzz target with clang (fuzz_parser by default; fuzz_import runs whole imports,
# fuzz_prefs reads preferences files) and runs it for a while (default 300 s), starting from the
# corpus, the samples and the test data. Crashing inputs land in build-fuzz/crashes/; each one
# becomes a regression test.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-300}
target=${2:-fuzz_parser}
scripts/install-deps.sh
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSEL_FUZZ=ON \
  -DTESSEL_SANITIZE=ON -DTESSEL_TESTS=ON > /dev/null
cmake --build build-fuzz --target "$target"
mkdir -p build-fuzz/seeds build-fuzz/crashes "build-fuzz/corpus-$target"
cp samples/*.mif tests/data/*.mif ../shared/corpus/*/*.mif ../shared/corpus/generated/*/*.mif build-fuzz/seeds/ 2>/dev/null || true
export TESSEL_LOG_DIR="$PWD/build-fuzz/log"
build-fuzz/tests/fuzz/"$target" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
  -dict=tests/fuzz/mif.dict -artifact_prefix=build-fuzz/crashes/ "build-fuzz/corpus-$target" build-fuzz/seeds
