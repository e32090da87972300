#!/usr/bin/env bash
# Builds an optimised Tessel and runs the benchmarks.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESSEL_TESTS=OFF -DTESSEL_BENCH=ON > /dev/null
cmake --build build-bench --target bench_parser
TESSEL_LOG_DIR="$PWD/build-bench/log" build-bench/bench/bench_parser "$@"
